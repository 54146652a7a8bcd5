#include "applications/SezioneFrame.h"

#include "core/services/RoutineError.h"
#include "core/text/TextRoutines.h"

using namespace Qt::StringLiterals;

const TestiSezione &testiOperator()
{
    static const TestiSezione testi{
        .didascalia = u"Sez. 1 - Operatore"_s,
        .argomentoAiuto = 2000,
        .titolo = u"Sezione 1 - Operatore"_s,
        .avvisoSolaLettura =
            u"Domanda già inviata alla Provincia\r\nNon sarà possibile modificare i dati\r\ndell' operatore"_s,
        .datiModificati = u"Sono stati modificati uno o più dati dell' OPERATORE"_s,
        .fineRigaCancellata = u"da un altro operatore."_s,
        .reinserito = u"Operatore reinserito."_s,
    };
    return testi;
}

const TestiSezione &testiFrmSedeLeg()
{
    static const TestiSezione testi{
        .didascalia = u"Sez. 1.4 - Sede Legale dell'Operatore Presentatore"_s,
        .argomentoAiuto = 2000,
        .titolo = u"Sez.2 - Sede Legale"_s,
        .avvisoSolaLettura =
            u"Domanda già stampata in definitivo\r\nNon sarà possibile modificare i dati della Sede Legale"_s,
        .datiModificati = u"Sono stati modificati uno o più dati della Sede Legale"_s,
        .fineRigaCancellata = u"da un altro utente."_s,
        .reinserito = u"Sede Legale reinserita."_s,
    };
    return testi;
}

const TestiSezione &testiComponen()
{
    static const TestiSezione testi{
        .didascalia = u"Sez. 2 - Sedi Interessate"_s,
        .argomentoAiuto = 4000,
        .titolo = u"Anagrafica Componenti"_s,
        .avvisoSolaLettura =
            u"Domanda già inviata alla Provincia\r\nNon sarà possibile modificare i dati dei Componenti"_s,
        .datiModificati = u"Sono stati modificati uno o più dati della Sede Interessata"_s,
        .fineRigaCancellata = u"da un altro operatore."_s,
        .reinserito = u"Componente reinserito."_s,
    };
    return testi;
}

QString testoDomandaUscita(const TestiSezione &testi)
{
    return testi.datiModificati + u"\r\nSalvare le modifiche ?"_s;
}

QString testoRigaCancellata(const TestiSezione &testi)
{
    return u"Il record che si sta cercando di aggiornare è stato cancellato "_s + testi.fineRigaCancellata +
           u"\r\nReinserire il record?"_s;
}

QVariant valoreTesto(const QString &testo)
{
    return testo.isNull() ? QVariant(u""_s) : QVariant(testo);
}

qint64 numeroDaTesto(const QString &testo)
{
    bool ok = false;
    const qint64 valore = trimBlanks(testo).toLongLong(&ok);
    if (!ok)
        throw kx::RoutineError(kx::ErrorCode::TypeMismatch);
    return valore;
}

bool stessoValore(const QVariant &a, const QVariant &b)
{
    const bool nulloA = !a.isValid() || a.isNull();
    const bool nulloB = !b.isValid() || b.isNull();
    if (nulloA || nulloB)
        return nulloA == nulloB;
    return a.toString() == b.toString();
}

void verificaRiga(Scrittura scrittura, const QVariantList &memorizzati, const QVariantList &caricati)
{
    if (scrittura == Scrittura::Sovrascrivi)
        return;
    if (memorizzati.size() != caricati.size())
        throw RigaModificataAltrove();
    for (qsizetype i = 0; i < memorizzati.size(); ++i)
        if (!stessoValore(memorizzati[i], caricati[i]))
            throw RigaModificataAltrove();
}
