#include "refdata/AggDomandeOper.h"

#include "core/data/DataEnvironment.h"
#include "core/files/ProgramFolder.h"
#include "core/files/TextRecords.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/text/TextFile.h"
#include "core/text/TextRoutines.h"
#include "refdata/AggiornaAnagraficheLoaders.h"
#include "refdata/MasterDataLayouts.h"

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** A column of Domande and the column of the operator's layout it takes its value from. */
struct ColonnaDomanda
{
    QString colonna;
    QString daTracciato;
    /** Written only where the application holds a value: a Null stays Null. */
    bool seNonNull;
};

const QList<ColonnaDomanda> &colonneDomanda()
{
    static const QList<ColonnaDomanda> colonne{
        {u"GrupOpe"_s, u"GrupOpe"_s, false},
        {u"Operatore"_s, u"Operatore"_s, false},
        {u"DenominazioneOp"_s, u"Denominazione"_s, false},
        {u"TipoOper"_s, u"TipoOper"_s, false},
        {u"CodFisc"_s, u"CodFisc"_s, false},
        {u"PIva"_s, u"PIva"_s, false},
        {u"LegNome"_s, u"LegNome"_s, true},
        {u"LegComNasc"_s, u"LegComNasc"_s, true},
        {u"LegProvNasc"_s, u"LegProvNasc"_s, true},
        {u"LegGGNasc"_s, u"LegGGNasc"_s, true},
        {u"LegMMNasc"_s, u"LegMMNasc"_s, true},
        {u"LegAAAANasc"_s, u"LegAAAANasc"_s, true},
        {u"ProvCCIAA"_s, u"ProvCCIAA"_s, true},
        {u"CodCCIAA"_s, u"CodCCIAA"_s, true},
        {u"AnnoCCIAA"_s, u"AnnoCCIAA"_s, true},
        {u"AttEcono"_s, u"AttEcono"_s, false},
    };
    return colonne;
}

QString istruzioneAggiornamento()
{
    QStringList assegnazioni;
    for (const ColonnaDomanda &c : colonneDomanda()) {
        const QString colonna = quotedIdentifier(c.colonna);
        if (c.seNonNull)
            assegnazioni.append(colonna + u" = CASE WHEN "_s + colonna + u" IS NULL THEN NULL ELSE ? END"_s);
        else
            assegnazioni.append(colonna + u" = ?"_s);
    }
    return u"UPDATE Domande SET "_s + assegnazioni.join(u", "_s) + u" WHERE NumDoma = ?"_s;
}

/** An application as the refresh sees it. */
struct Domanda
{
    QVariant numDoma;
    bool stampata;
};

/**
 * The key of an operator's applications: its group compared as the column compares it (ASCII
 * letters without regard to case), and its number.
 */
using ChiaveOperatore = std::pair<QString, qint64>;

ChiaveOperatore chiave(const QString &grupOpe, qint64 operatore)
{
    QString gruppo = grupOpe;
    for (QChar &c : gruppo) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - u'a' + u'A');
    }
    return {gruppo, operatore};
}

/**
 * The applications of every operator, in the table's order, read once: the refresh writes group and
 * number back as it found them and adds no application, so the lines of the file can all be served
 * from this one reading instead of one search of the whole table each.
 */
QHash<ChiaveOperatore, QList<Domanda>> domandePerOperatore(Connection &corsiDB)
{
    QHash<ChiaveOperatore, QList<Domanda>> domande;
    const QueryResult righe =
        corsiDB.query(u"SELECT NumDoma, GrupOpe, Operatore, DomandaStampata FROM Domande ORDER BY rowid"_s);
    for (const QVariantList &riga : righe.rows) {
        // Only a whole number can equal the number of a line.
        if (riga.at(2).typeId() != QMetaType::LongLong || riga.at(1).isNull())
            continue;
        domande[chiave(riga.at(1).toString(), riga.at(2).toLongLong())].append(
            {riga.at(0), riga.at(3).toLongLong() != 0});
    }
    return domande;
}

} // namespace

bool AggDomandeOper(Context &context, const QString &fileLog)
{
    const Tracciato &tracciato = TracciatoOper();
    const CampoTracciato &gruppo = *campoDi(tracciato, u"GrupOpe"_s);
    const CampoTracciato &operatore = *campoDi(tracciato, u"Operatore"_s);
    QList<const CampoTracciato *> campi;
    for (const ColonnaDomanda &c : colonneDomanda())
        campi.append(campoDi(tracciato, c.daTracciato));
    const QString aggiornamento = istruzioneAggiornamento();
    Connection &corsiDB = context.DE().CorsiDB();
    QStringList righeLog;
    try {
        const QStringList righe = TextFile::readLines(context.programFolder().resolve(tracciato.file));
        const QHash<ChiaveOperatore, QList<Domanda>> domande = domandePerOperatore(corsiDB);
        CampiRecord Campi;
        for (const QString &riga : righe) {
            ScomponiRecord(Campi, trimBlanks(riga));
            const QString grupOpe = valoreCampo(gruppo, Campi).toString();
            const qint64 numero = valoreCampo(operatore, Campi).toLongLong();
            // Converted at the first application to write, as a printed one needs no value.
            QVariantList valori;
            for (const Domanda &domanda : domande.value(chiave(grupOpe, numero))) {
                if (domanda.stampata) {
                    righeLog.append(
                        u"- Domanda n. "_s + NonNull(domanda.numDoma) + u" dell'Operatore "_s + grupOpe +
                        u"-"_s + Campi[1] +
                        u" non aggiornata perchè bloccata (sostituita o stampata in definitivo)"_s);
                    continue;
                }
                if (valori.isEmpty()) {
                    for (const CampoTracciato *campo : std::as_const(campi))
                        valori.append(valoreCampo(*campo, Campi));
                }
                corsiDB.execute(aggiornamento, valori + QVariantList{domanda.numDoma});
            }
        }
        if (!righeLog.isEmpty())
            TextFile::appendLines(context.programFolder().resolve(fileLog), righeLog);
        return true;
    } catch (const std::exception &caught) {
        return AggiornamentoAnagrafiche::erroreAggiornamento(
            context, u"AggCorsiOper"_s, comeErroreRoutine(caught), AggiornamentoAnagrafiche::FraseOper);
    }
}
