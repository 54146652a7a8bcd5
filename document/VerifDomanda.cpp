#include "document/VerifDomanda.h"

#include "applications/Operatore.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/AttesaControllo.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "core/text/EMail.h"
#include "core/text/TextRoutines.h"
#include "core/text/Values.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <algorithm>
#include <functional>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString CrLf = u"\r\n"_s;
const QString Routine = u"VerifDomanda"_s;
const QString Correggere = u" Correggere la situazione, e ritentare la stampa."_s;

/** Null or the empty text; blanks count as filled. */
bool vuoto(const QVariant &value)
{
    return NonNull(value).isEmpty();
}

/** The numeric text of a CAP: every character a digit from 0 to 9. */
bool soloCifre(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

/** Day, month and year fields: all three empty, or a date read as day, month, year. */
bool dataAssenteOValida(const Recordset &rs, const QString &giorno, const QString &mese, const QString &anno)
{
    const QString g = NonNull(rs.value(giorno));
    const QString m = NonNull(rs.value(mese));
    const QString a = NonNull(rs.value(anno));
    return (g + u'-' + m + u'-' + a) == u"--" || dataValida(g, m, a);
}

/** The fields are all empty or all filled. */
bool tuttiOniente(const Recordset &rs, const QStringList &campi)
{
    const auto vuoti = std::count_if(campi.begin(), campi.end(),
                                     [&rs](const QString &campo) { return vuoto(rs.value(campo)); });
    return vuoti == 0 || vuoti == campi.size();
}

/** Rules 1 to 8 on the application's row: the message of the first one broken, or "". */
QString regoleScheda(const Recordset &rs)
{
    const QString scheda = u"Nella Scheda Operatore "_s;
    const QString legale = u"LEGALE RAPPRESENTANTE O PROCURATORE FIRMATARIO DELLA CONVENZIONE."_s;
    if (vuoto(rs.value(u"DenominazioneOp"_s)))
        return scheda + u"deve essere inserita la DENOMINAZIONE DELL'OPERATORE ."_s + Correggere;
    if (isNullValue(rs.value(u"Corrispondenza"_s)))
        return scheda + u"deve essere indicato il COMPONENTE RESPONSABILE DELLA CORRISPONDENZA."_s +
               Correggere;
    if (vuoto(rs.value(u"LegNome"_s)))
        return scheda + u"deve essere inserito il "_s + legale + Correggere;
    if (vuoto(rs.value(u"LegComNasc"_s)))
        return scheda + u"deve essere inserito il LUOGO DI NASCITA DEL "_s + legale + Correggere;
    if (!dataAssenteOValida(rs, u"LegGGNasc"_s, u"LegMMNasc"_s, u"LegAAAANasc"_s))
        return scheda + u"deve essere inserita una data valida come DATA DI NASCITA DEL "_s + legale +
               Correggere;
    if (!tuttiOniente(rs, {u"ProvCCIAA"_s, u"CodCCIAA"_s, u"AnnoCCIAA"_s}))
        return scheda + u"il gruppo di dati CCIAA va lasciato completamente vuoto o compilato per intero."_s +
               Correggere;
    if (!dataAssenteOValida(rs, u"GGPrece"_s, u"MMPrece"_s, u"AAAAPrece"_s))
        return scheda + u"la data della eventuale domanda precedente, se indicata, deve essere valida."_s +
               Correggere;
    if (!tuttiOniente(rs, {u"DomPrece"_s, u"GGPrece"_s, u"MMPrece"_s, u"AAAAPrece"_s, u"DomPROV"_s,
                           u"Direttiva"_s, u"AnnoDirettiva"_s}))
        return u"Nella Scheda Operatore, per i dati riguardanti l'eventuale domanda precedente è "
               u"obbligatorio "
               u"compilare tutti i campi o non compilarne nessuno. Correggere la situazione, e ritentare la "
               u"stampa"_s;
    return {};
}

/** Rule 9: with no IBAN, whether the user stops the print to fill it in. */
bool bloccataPerIban(Context &context, const Recordset &rs)
{
    if (!NonNull(rs.value(u"ContIBAN"_s)).isEmpty())
        return false;
    return context.prompt.ask(
               Prompt::Icon::None, Prompt::Buttons::YesNo, u"Avviso assenza codice IBAN"_s,
               u"Nella sezione 1.3 della scheda Operatore non è stato indicato il codice IBAN."_s + CrLf +
                   u"Il il dato non è obbligatorio ma se si desidera specificarlo deve essere fatto prima di "
                   u"effettuare la stampa definitiva."_s +
                   CrLf + u"Bloccare la stampa?"_s) == Prompt::Answer::Yes;
}

/** Rules 10 to 16 on the legal seat's row: the message of the first one broken, or "". */
QString regoleSedeLegale(const Recordset &rs)
{
    const QString scheda = u"Nella Scheda Sede Legale "_s;
    if (vuoto(rs.value(u"Denominazione"_s)))
        return scheda + u"deve essere inserita la DENOMINAZIONE DELLA SEDE LEGALE."_s + Correggere;
    const QString cap = NonNull(rs.value(u"Cap"_s));
    if (!cap.isEmpty()) {
        if (cap.size() != 5 || !soloCifre(cap))
            return scheda + u"il CAP se specificato deve essere di 5 cifre."_s + Correggere;
        if (vuoto(rs.value(u"CodComune"_s)))
            return scheda +
                   u"se il CAP è specificato deve esserlo anche il COMUNE di ubicazione della sede."_s +
                   Correggere;
    }
    const QString email = NonNull(rs.value(u"Email"_s));
    if (!email.isEmpty()) {
        if (const QString messaggio = VerificaEMail(email); !messaggio.isEmpty())
            return messaggio;
    }
    if (vuoto(rs.value(u"Riferimento"_s)))
        return u"Nella Sede Legale deve essere indicata la PERSONA DI RIFERIMENTO."_s + Correggere;
    if (vuoto(rs.value(u"Tel"_s)))
        return u"Nella Sede Legale deve essere indicato il NUMERO DI TELEFONO."_s + Correggere;
    return {};
}

/** One pass over the seats: the line of a seat it lists, empty when the seat passes. */
struct PassataSedi
{
    QString intestazione;
    std::function<QString(const Recordset &)> riga;
};

QString campo(const Recordset &rs, const QString &nome)
{
    return NonNull(rs.value(nome));
}

/** "- GrupOpe Operatore - " and the seat's code: its component, or its own code. */
QString inizioRiga(const Recordset &rs, const QString &codice)
{
    return u"- "_s + campo(rs, u"GrupOpe"_s) + u' ' + campo(rs, u"Operatore"_s) + u" - "_s +
           campo(rs, codice);
}

/** Passes 17 to 22, in their order. */
QList<PassataSedi> passateSedi()
{
    const QString sedi = u"Nella Scheda Sede Interessata, per le sedi qui elencate, "_s;
    const QString sediDiSeguito = u"Nella Scheda Sede Interessata, per le sedi elencate di seguito, "_s;
    const QString ritentare = u" Correggere la situazione, e ritentare la stampa: "_s;
    const QString capCinqueCifre = sedi + u"il CAP se specificato deve essere di 5 cifre."_s + ritentare;
    const auto conCap = [](const Recordset &rs) -> QString { return campo(rs, u"Cap"_s); };
    const auto riga = [](const Recordset &rs, const QString &codice,
                         const QString &denominazione) -> QString {
        return inizioRiga(rs, codice) + u" - "_s + campo(rs, denominazione) + CrLf;
    };
    return {
        {capCinqueCifre,
         [=](const Recordset &rs) -> QString {
             const QString cap = conCap(rs);
             return !cap.isEmpty() && cap.size() != 5
                        ? riga(rs, u"componente"_s, u"CorsiSediInteressate.Denominazione"_s)
                        : QString();
         }},
        {capCinqueCifre,
         [=](const Recordset &rs) -> QString {
             const QString cap = conCap(rs);
             return !cap.isEmpty() && !soloCifre(cap)
                        ? riga(rs, u"componente"_s, u"CorsiCompo.Denominazione"_s)
                        : QString();
         }},
        {sedi + u"se il CAP è specificato deve esserlo anche il COMUNE di ubicazione della sede."_s +
             ritentare,
         [=](const Recordset &rs) -> QString {
             return !conCap(rs).isEmpty() && vuoto(rs.value(u"CodComune"_s))
                        ? riga(rs, u"componente"_s, u"CorsiCompo.Denominazione"_s)
                        : QString();
         }},
        {QString(),
         [](const Recordset &rs) -> QString {
             const QString email = campo(rs, u"Email"_s);
             const QString messaggio = email.isEmpty() ? QString() : VerificaEMail(email);
             return messaggio.isEmpty()
                        ? QString()
                        : u"- Sede Int. "_s + campo(rs, u"GrupOpe"_s) + u' ' + campo(rs, u"Operatore"_s) +
                              u" - "_s + campo(rs, u"componente"_s) + u": "_s + messaggio + CrLf;
         }},
        {sediDiSeguito + u"deve essere indicata la PERSONA DI RIFERIMENTO."_s + ritentare,
         [=](const Recordset &rs) -> QString {
             return vuoto(rs.value(u"Riferimento"_s))
                        ? riga(rs, u"SedeInteressata"_s, u"CorsiSediInteressate.Denominazione"_s)
                        : QString();
         }},
        {sediDiSeguito + u"deve essere indicato il NUMERO DI TELEFONO."_s + ritentare,
         [=](const Recordset &rs) -> QString {
             return vuoto(rs.value(u"Tel"_s))
                        ? riga(rs, u"SedeInteressata"_s, u"CorsiSediInteressate.Denominazione"_s)
                        : QString();
         }},
    };
}

/** The box text of the first pass that lists a seat, or "" when every seat passes them all. */
QString regoleSedi(Recordset &rs)
{
    if (rs.recordCount() == 0)
        return {};
    const QList<PassataSedi> passate = passateSedi();
    for (const PassataSedi &passata : passate) {
        QString righe;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            righe += passata.riga(rs);
        if (!righe.isEmpty())
            return passata.intestazione.isEmpty() ? righe : passata.intestazione + CrLf + CrLf + righe;
    }
    return {};
}

/** The recordset's rows of the SQL text for the application. */
void apri(Recordset &rs, const QString &sql, qint32 numDoma)
{
    if (rs.isOpen())
        rs.close();
    rs.open(sql, {numDoma});
}

/** Panel, bar and hourglass from the start of the check; gone on every way out. */
class Attesa
{
public:
    Attesa(AttesaControllo &attesa, int corsi) : m_attesa(attesa)
    {
        m_attesa.limitiPB1(1, corsi > 0 ? 2 * corsi + 2 : 100);
        m_attesa.valorePB1(1);
        m_attesa.mostraAttesa(true);
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        QCoreApplication::processEvents();
    }
    ~Attesa()
    {
        m_attesa.mostraAttesa(false);
        QGuiApplication::restoreOverrideCursor();
    }
    Attesa(const Attesa &) = delete;
    Attesa &operator=(const Attesa &) = delete;

private:
    AttesaControllo &m_attesa;
};

} // namespace

int ContaCorsiProp(DataEnvironment &de, const QString &filtro)
{
    Recordset &rsCorsiProp = de.rs(u"CorsiProp"_s);
    struct Rilascio
    {
        Recordset &rs;
        ~Rilascio()
        {
            if (rs.isOpen())
                rs.close();
            rs.clearFilter();
        }
    } rilascio{rsCorsiProp};
    rsCorsiProp.setFilter(filtro);
    if (rsCorsiProp.isOpen())
        rsCorsiProp.close();
    rsCorsiProp.open();
    return rsCorsiProp.recordCount();
}

bool VerifDomanda(Context &context, AttesaControllo &attesa)
{
    const CurrentApplication &domanda = context.domanda();
    if (domanda.DomandaStampataCorrente)
        return true;
    const qint32 numDoma = domanda.NumDomaCorrente;
    const auto passo = [&context](auto &&step) { return runWithRetry(context, Routine, step); };

    const int corsi =
        passo([&] { return ContaCorsiProp(context.DE(), u"NumDoma="_s + QString::number(numDoma)); });
    QString messaggio;
    {
        const Attesa inAttesa(attesa, corsi);
        Recordset rs(context.DE().CorsiDB());
        messaggio = passo([&] {
            apri(rs, u"SELECT * FROM Domande WHERE NumDoma = ?"_s, numDoma);
            return regoleScheda(rs);
        });
        if (messaggio.isEmpty()) {
            const bool bloccata = passo([&] {
                apri(rs, u"SELECT * FROM Domande WHERE NumDoma = ?"_s, numDoma);
                return bloccataPerIban(context, rs);
            });
            if (bloccata)
                messaggio =
                    u"Stampa annullata per consentire la compilazione del codice IBAN nella sezione 1.3 "
                    u"- Dati Operatore."_s;
        }
        if (messaggio.isEmpty()) {
            messaggio = passo([&] {
                apri(rs, u"SELECT * FROM CorsiSediInteressate WHERE TipoCompo = 'SL' AND NumDoma = ?"_s,
                     numDoma);
                return regoleSedeLegale(rs);
            });
        }
        if (messaggio.isEmpty()) {
            attesa.valorePB1(2);
            messaggio = passo([&] {
                apri(rs, u"SELECT * FROM QrySediIntCorsi WHERE NumDoma = ? ORDER BY SedeInteressata"_s,
                     numDoma);
                return regoleSedi(rs);
            });
        }
        if (rs.isOpen())
            rs.close();
        if (!messaggio.isEmpty())
            context.prompt.critical(u"Stampa non disponibile"_s, messaggio);
    }
    QCoreApplication::processEvents();
    return messaggio.isEmpty();
}
