#include "refdata/CorsiApprovati.h"

#include "core/data/Connection.h"
#include "core/data/DataEnvironment.h"
#include "core/data/NumericText.h"
#include "core/data/ProtectedUpdate.h"
#include "core/files/ProgramFolder.h"
#include "core/services/ErrorBoxes.h"
#include "core/services/RoutineError.h"
#include "core/services/Services.h"
#include "core/state/Context.h"
#include "core/text/TextFile.h"
#include "core/text/TextRoutines.h"

#include <QSet>
#include <limits>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

const QString TitoloErroreCaricamento = u"Aggiornamento Base Dati - Acquisizione Corsi Finanziati"_s;

/** A whole number by the data files' rule, within [minimo, massimo]: 13 for any other text, 6 out of range.
 */
qint64 intero(const QString &field, qint64 minimo, qint64 massimo)
{
    const qint64 value = numericValueFromText(field, NumericColumn::Integer).toLongLong();
    if (value < minimo || value > massimo)
        throw RoutineError(ErrorCode::Overflow);
    return value;
}

QVariant valore(const CampoCorsoApprovato &campo, const QString &field)
{
    constexpr qint64 min32 = std::numeric_limits<qint32>::min();
    constexpr qint64 max32 = std::numeric_limits<qint32>::max();
    constexpr qint64 min16 = std::numeric_limits<qint16>::min();
    constexpr qint64 max16 = std::numeric_limits<qint16>::max();
    switch (campo.regola) {
    case RegolaCampo::Intero32Richiesto:
        return intero(field, min32, max32);
    case RegolaCampo::Intero16Richiesto:
        return intero(field, min16, max16);
    case RegolaCampo::Intero32:
        return field.isEmpty() ? QVariant() : QVariant(intero(field, min32, max32));
    case RegolaCampo::Intero16:
        return field.isEmpty() ? QVariant() : QVariant(intero(field, min16, max16));
    case RegolaCampo::Byte:
        return field.isEmpty() ? QVariant() : QVariant(intero(field, 0, 255));
    case RegolaCampo::Testo:
        return trimBlanks(field.left(campo.larghezza));
    case RegolaCampo::TestoComE:
        return field;
    }
    return {};
}

/** The loaders' error text, LF CR, what was loading. */
QString erroreCaricamentoCorsi(const RoutineError &error)
{
    return testoErroreCaricamento(error) + u"\n\r"_s +
           u"durante il caricamento dei CORSI FINANZIATI SULLA DIRETTIVA"_s;
}

} // namespace

const QList<CampoCorsoApprovato> &tracciatoCorsiApprovati()
{
    using R = RegolaCampo;
    static const QList<CampoCorsoApprovato> tracciato{
        {u"IdAttivita"_s, R::Intero32Richiesto},
        {u"IdCorsoPrincipale"_s, R::Intero32},
        {u"GrupOpe"_s, R::Testo, 1},
        {u"Operatore"_s, R::Intero32Richiesto},
        {u"ProgrAttivita"_s, R::Testo, 11},
        {u"AnnoInizio"_s, R::Testo, 4},
        {u"ProgrAccorp"_s, R::Byte},
        {u"CodDiret"_s, R::Byte},
        {u"AnnGest"_s, R::Testo, 4},
        {u"Componente"_s, R::Intero16Richiesto},
        {u"SedeOcca"_s, R::Intero16},
        {u"CodQualif"_s, R::Testo, 6},
        {u"DenCorso"_s, R::Testo, 200},
        {u"CodObiettiv_Rif"_s, R::Testo, 2},
        {u"CodObiet"_s, R::TestoComE},
        {u"CodAsse"_s, R::Testo, 2},
        {u"CodSubAsse"_s, R::Testo, 2},
        {u"LineaIntervento"_s, R::Intero16},
        {u"CodScol"_s, R::Byte},
        {u"CodSetto"_s, R::Byte},
        {u"AnnoSetto"_s, R::Testo, 4},
        {u"CodComp"_s, R::Byte},
        {u"AnnoComp"_s, R::Testo, 4},
        {u"CodPerc"_s, R::Byte},
        {u"CodOra"_s, R::Byte},
        {u"CodCert"_s, R::Byte},
        {u"DurataAnnOre"_s, R::Intero32},
        {u"NumAll"_s, R::Intero16},
        {u"TotIter"_s, R::Intero32},
        {u"Durata"_s, R::Intero16},
        {u"Stato"_s, R::Intero16},
        {u"TipoConv"_s, R::Testo, 2},
        {u"NumConv"_s, R::Intero16},
        {u"Conv_PT_IpAddress"_s, R::Testo, 20},
        {u"Conv_NumPratica"_s, R::Intero32},
        {u"NumPratica"_s, R::Testo, 20},
        {u"ProvviProgAtt"_s, R::Testo, 4},
        {u"ProvviProgAcc"_s, R::Testo, 2},
        {u"Dom_NumPratica"_s, R::Testo, 50},
        {u"Dom_ChiaveUtente"_s, R::Testo, 50},
        {u"StatoAvanzamento"_s, R::Byte},
        {u"PROV"_s, R::Testo, 3},
        {u"CicloFin"_s, R::TestoComE},
    };
    return tracciato;
}

QVariantList valoriCorsoApprovato(const CampiRecord &campi)
{
    const QList<CampoCorsoApprovato> &tracciato = tracciatoCorsiApprovati();
    QVariantList valori;
    valori.reserve(tracciato.size());
    for (qsizetype i = 0; i < tracciato.size(); ++i)
        valori.append(valore(tracciato[i], campi[std::size_t(i)]));
    return valori;
}

bool AggCorsiApprovati(const Services &services, Connection &connection, const QString &percorsoFile,
                       const QString &tabella)
{
    const QList<CampoCorsoApprovato> &tracciato = tracciatoCorsiApprovati();
    const QString nomeTabella = quotedIdentifier(tabella);
    const QString chiave = quotedIdentifier(tracciato.first().colonna);
    QStringList colonne;
    QStringList assegnazioni;
    QStringList segnaposto;
    // Numbered places: the UPDATE takes the converted row as it stands, the key being its first value.
    for (qsizetype i = 0; i < tracciato.size(); ++i) {
        const QString colonna = quotedIdentifier(tracciato[i].colonna);
        const QString posto = u"?"_s + QString::number(i + 1);
        colonne.append(colonna);
        segnaposto.append(posto);
        if (i > 0)
            assegnazioni.append(colonna + u" = "_s + posto);
    }
    const QString inserimento = u"INSERT INTO "_s + nomeTabella + u" ("_s + colonne.join(u", "_s) +
                                u") VALUES ("_s + segnaposto.join(u", "_s) + u')';
    const QString aggiornamento = u"UPDATE "_s + nomeTabella + u" SET "_s + assegnazioni.join(u", "_s) +
                                  u" WHERE "_s + chiave + u" = ?1"_s;

    qint64 contatore = 0;
    try {
        // The keys already stored, so each course is one statement: the table is ours alone inside
        // the caller's transaction.
        QSet<qint64> presenti;
        const QueryResult chiavi = connection.query(u"SELECT "_s + chiave + u" FROM "_s + nomeTabella);
        for (const QVariantList &riga : chiavi.rows)
            presenti.insert(riga.first().toLongLong());

        PreparedStatement inserisci(connection, inserimento);
        PreparedStatement aggiorna(connection, aggiornamento);
        const QStringList righe = TextFile::readLines(percorsoFile);
        CampiRecord campi;
        for (const QString &riga : righe) {
            ScomponiRecord(campi, trimBlanks(riga));
            const QVariantList valori = valoriCorsoApprovato(campi);
            const qint64 idAttivita = valori.first().toLongLong();
            if (presenti.contains(idAttivita)) {
                aggiorna.execute(valori);
            } else {
                inserisci.execute(valori);
                presenti.insert(idAttivita);
            }
            ++contatore;
        }
    } catch (const RoutineError &error) {
        services.prompt.critical(TitoloErroreCaricamento, erroreCaricamentoCorsi(error));
        return false;
    }
    if (contatore == 0) {
        services.prompt.critical(u"Aggiornamento Base Dati"_s,
                                 u"ATTENZIONE: il file CorsiApprovati.tx1 risulta vuoto. Impossibile "
                                 u"continuare l'operazione di aggiornamento."_s);
        return false;
    }
    return true;
}

bool ImportaCorsiApprovati(Context &context)
{
    Connection &connection = context.DE().CorsiDB();
    const QString percorso = context.programFolder().resolve(NomeFileCorsiApprovati);
    AggiornamentoProtetto aggiornamento;
    aggiornamento.caricatori = {[&context, &connection, percorso] {
        return AggCorsiApprovati(context, connection, percorso, u"CorsiApprovati"_s);
    }};
    aggiornamento.files = {{NomeFileCorsiApprovati, CorsiApprovatiCaricati, CorsiApprovatiScartati}};
    aggiornamento.titoloFallimento = u"Corsi Approvati e Finanziati - Scarico/Aggiornamento"_s;
    aggiornamento.testoFallimento =
        u"L' aggiornamento della base dati non è andato a buon fine, verrà ripristinata la situazione "
        u"iniziale. Contattare il servizio di assistenza T.U.Z."_s;
    return EseguiAggiornamentoProtetto(context, connection, context.programFolder(), aggiornamento);
}

} // namespace kx
