#include "refdata/ScaricoCorsiApprovati.h"

#include "core/files/ProgramFolder.h"
#include "core/net/FormEncoding.h"
#include "core/services/RoutineError.h"
#include "core/text/Cp1252.h"
#include "core/text/TextFile.h"
#include "core/text/TextRoutines.h"
#include "refdata/CorsiApprovati.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

const QString FileTemporaneo = u"$tmpDenOp.tx1"_s;

void scriviRisposta(const QString &percorso, const QString &risposta)
{
    const QString testo = risposta + u"\r\n"_s;
    TextFile::replaceFiles({{percorso, Cp1252::encode(testo)}});
}

} // namespace

QString voceOperatore(const QString &grupOpe, qint64 operatore, const QString &denominazione)
{
    return grupOpe + u" - "_s + QString::number(operatore) + u" - "_s + denominazione;
}

std::optional<OperatoreScelto> operatoreDaVoce(const QString &voce)
{
    try {
        const QString numero = CampoSeparato(voce, u"-"_s, 1);
        bool ok = false;
        const int operatore = numero.toInt(&ok);
        if (!ok)
            return std::nullopt;
        return OperatoreScelto{CampoSeparato(voce, u"-"_s, 0), operatore};
    } catch (const RoutineError &) {
        return std::nullopt;
    }
}

QByteArray corpoRichiestaCorsi(const QString &grupOpe, int operatore, const QString &token)
{
    return "gruppo=" + formValue(grupOpe) + "&codice=" + QByteArray::number(operatore) +
           "&albis_id=" + formValue(token);
}

QString tokenDaRisposta(const QString &risposta)
{
    if (!upperCaseCp1252(risposta).contains(u"RISPOSTA: OK"))
        return {};
    const qsizetype primo = risposta.indexOf(u';');
    if (primo < 0)
        return {};
    const qsizetype secondo = risposta.indexOf(u';', primo + 1);
    return trimBlanks(risposta.mid(primo + 1, secondo < 0 ? -1 : secondo - primo - 1));
}

bool paginaNonRaggiungibile(const QString &testo)
{
    const QString maiuscolo = upperCaseCp1252(testo);
    return maiuscolo.contains(u"IMPOSSIBILE VISUALIZZARE LA PAGINA") ||
           maiuscolo.contains(u"NON RIESCO A VISUALIZZARE QUESTA PAGINA");
}

bool paginaHtmlNelloScarico(const QString &risposta)
{
    const QStringList righe = risposta.split(u'\n');
    return std::any_of(righe.cbegin(), righe.cend(), [](const QString &riga) {
        return !riga.startsWith(u'#') && (riga.contains(u"<h") || riga.contains(u"<H"));
    });
}

bool rispostaNonValida(const QString &risposta, int status)
{
    return status >= 400 || paginaHtmlNelloScarico(risposta);
}

QString erroreDaRisposta(const QString &risposta)
{
    const qsizetype posizione = risposta.indexOf(u"ERRORE", 0, Qt::CaseInsensitive);
    return posizione < 0 ? QString() : risposta.mid(posizione);
}

EsitoPacchetto scriviCorsiScaricati(const ProgramFolder &folder, const QString &percorsoDB,
                                    const QString &risposta)
{
    const QString corsi = folder.resolve(NomeFileCorsiApprovati);
    const QString temporaneo = folder.resolve(FileTemporaneo);
    EsitoPacchetto esito;
    try {
        scriviRisposta(corsi, risposta);
        scriviRisposta(temporaneo, risposta);
        esito = SeparaFileScaricato(folder, percorsoDB, FileTemporaneo);
    } catch (const RoutineError &error) {
        esito = {EsitoPacchetto::Stato::NonScritto,
                 NomeFileCorsiApprovati,
                 u"Impossibile scrivere il file "_s + NomeFileCorsiApprovati + u": "_s + error.description(),
                 {}};
    }
    QFile::remove(temporaneo);
    if (!esito.riuscito())
        QFile::remove(folder.resolve(NomeFileCorsiApprovati));
    return esito;
}

} // namespace kx
