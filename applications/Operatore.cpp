#include "applications/Operatore.h"

#include "core/data/Connection.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/services/RoutineError.h"
#include "core/text/TextRoutines.h"

#include <QDate>
#include <limits>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString Separatore = u" - "_s;
const QString VerificaDati = u"Verifica dati"_s;
const QString VerificaDatiMaiuscola = u"Verifica Dati"_s;

bool nullo(const QVariant &value)
{
    return !value.isValid() || value.isNull();
}

/** A whole number written with digits alone, an optional sign in front and blanks around. */
std::optional<qint64> interoTesto(const QString &testo)
{
    const QString t = trimBlanks(testo);
    qsizetype i = (t.startsWith(u'-') || t.startsWith(u'+')) ? 1 : 0;
    if (i == t.size() || t.size() - i > 18)
        return std::nullopt;
    for (qsizetype j = i; j < t.size(); ++j)
        if (!t[j].isDigit() || t[j].unicode() > u'9')
            return std::nullopt;
    return t.toLongLong();
}

/** The text as a whole number that fits the range; 13 for a text that is none, 6 out of the range. */
qint64 interoLimitato(const QString &testo, qint64 minimo, qint64 massimo)
{
    const std::optional<qint64> numero = interoTesto(testo);
    if (!numero)
        throw RoutineError(ErrorCode::TypeMismatch);
    if (*numero < minimo || *numero > massimo)
        throw RoutineError(ErrorCode::Overflow);
    return *numero;
}

/** The code of a list item: the text before its first " - ", trimmed; "" for the blank item. */
QString codice(const QString &voce)
{
    return CampoSeparato(voce, Separatore, 0);
}

/** The code of a numbered list item, the blank item being 0; nothing for a code that is no number. */
std::optional<qint64> codiceNumerico(const QString &voce)
{
    const QString c = codice(voce);
    return c.isEmpty() ? std::optional<qint64>(0) : interoTesto(c);
}

/** A stored number and a numbered item agree; a Null column is not compared. */
bool numeroInvariato(const QVariant &stored, const QString &voce)
{
    if (nullo(stored))
        return true;
    const std::optional<qint64> memorizzato = interoTesto(NonNull(stored));
    const std::optional<qint64> mostrato = codiceNumerico(voce);
    if (memorizzato && mostrato)
        return *memorizzato == *mostrato;
    return NonNull(stored) == codice(voce);
}

/** The correspondence component: a Null column agrees with the blank item alone, as a text box would. */
bool componenteInvariato(const QVariant &stored, const QString &voce)
{
    return nullo(stored) ? codice(voce).isEmpty() : numeroInvariato(stored, voce);
}

/** The empty text as a value, so that an empty box is written as "" and never as Null. */
QVariant testo(const QString &t)
{
    return t.isNull() ? QVariant(QStringLiteral("")) : QVariant(t);
}

} // namespace

QString voceComponente(const QVariant &componente, const QVariant &denominazione, const QVariant &tipoCompo,
                       const QVariant &indirizzo)
{
    return RiempiSpazi(componente, 5) + Separatore + NonNull(denominazione).left(35) + Separatore +
           NonNull(tipoCompo) + Separatore + NonNull(indirizzo);
}

ListeOperatore CaricaListe(DataEnvironment &de, const QString &grupOpe, const QString &operatore)
{
    // Each list in the order its recordset gives the rows, which is the table's own.
    auto leggi = [&de](const QString &tabella, const QString &filtro, auto voce) {
        Recordset &rs = de.rs(tabella);
        if (rs.isOpen())
            rs.close();
        rs.open();
        rs.setFilter(filtro);
        QStringList voci{QString()};
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            voci << voce(rs);
        rs.close();
        rs.clearFilter();
        return voci;
    };
    const QString filtroGruppo = u"GrupOpe='"_s + RaddoppiaApici(grupOpe) + u"'"_s;
    const qint64 numeroOperatore =
        interoLimitato(operatore, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max());

    ListeOperatore liste;
    liste.cmbTOper = leggi(u"TipoOper"_s, filtroGruppo, [](Recordset &rs) -> QString {
        return NonNull(rs.value(u"TipoOper"_s)) + Separatore + NonNull(rs.value(u"Descrizione"_s));
    });
    liste.cmbCorrispondenza =
        leggi(u"CorsiCompo"_s, filtroGruppo + u" And Operatore="_s + QString::number(numeroOperatore),
              [](Recordset &rs) -> QString {
                  return voceComponente(rs.value(u"Componente"_s), rs.value(u"Denominazione"_s),
                                        rs.value(u"TipoCompo"_s), rs.value(u"Indirizzo"_s));
              });
    liste.cmbAEco = leggi(u"AttEcono"_s, QString(), [](Recordset &rs) -> QString {
        return RiempiSpazi(rs.value(u"AttEcono"_s), 3) + Separatore + NonNull(rs.value(u"Descrizione"_s));
    });
    liste.cmbDomProv = leggi(u"Province"_s, u"REGIONE='01'"_s,
                             [](Recordset &rs) -> QString { return NonNull(rs.value(u"DesProv"_s)); });
    liste.cmbDomProv.insert(1, VoceRegione);
    return liste;
}

VistaOperatore CaricaDati(const Recordset &rs)
{
    auto campo = [&rs](const QString &nome) { return NonNull(rs.value(nome)); };

    VistaOperatore vista;
    SchedaOperatore &s = vista.scheda;
    s.GrupOpe = campo(u"GrupOpe"_s);
    s.Operatore = campo(u"Operatore"_s);
    s.DenominazioneOp = campo(u"DenominazioneOp"_s);

    const QVariant descrizioneTipo = rs.value(u"QryDomande.TipoOper.Descrizione"_s);
    s.TipoOper = nullo(descrizioneTipo) ? campo(u"TipoOper"_s)
                                        : campo(u"TipoOper"_s) + Separatore + NonNull(descrizioneTipo);

    const QString codFisc = campo(u"CodFisc"_s);
    const QString pIva = campo(u"PIva"_s);
    vista.didascaliaCodice = !pIva.isEmpty()      ? u"PARTITA IVA"_s
                             : !codFisc.isEmpty() ? u"CODICE FISCALE"_s
                                                  : u"CODICE FISCALE/PARTITA IVA"_s;
    vista.codice = !pIva.isEmpty() ? pIva : codFisc;

    const QVariant corrispondenza = rs.value(u"Corrispondenza"_s);
    const std::optional<qint64> componente =
        nullo(corrispondenza) ? std::nullopt : interoTesto(NonNull(corrispondenza));
    if (componente && *componente > 0) {
        const QVariant denominazione = rs.value(u"Denominazione"_s);
        const QVariant tipoCompo = rs.value(u"TipoCompo"_s);
        const QVariant indirizzo = rs.value(u"QryCompo.Indirizzo"_s);
        const bool inRegistro = !nullo(denominazione) || !nullo(tipoCompo) || !nullo(indirizzo);
        s.Corrispondenza = inRegistro ? voceComponente(*componente, denominazione, tipoCompo, indirizzo)
                                      : RiempiSpazi(*componente, 5);
    }

    s.LegNome = campo(u"LegNome"_s);
    s.LegComNasc = campo(u"LegComNasc"_s);
    const QVariant provinciaNascita = rs.value(u"LegProvNasc"_s);
    s.LegProvNasc = NonNull(provinciaNascita);
    if (!nullo(provinciaNascita))
        vista.provinciaNascitaAbilitata = !s.LegProvNasc.isEmpty();
    s.LegGGNasc = campo(u"LegGGNasc"_s);
    s.LegMMNasc = campo(u"LegMMNasc"_s);
    s.LegAAAANasc = campo(u"LegAAAANasc"_s);
    s.ContIBAN = campo(u"ContIBAN"_s);
    s.ContDesBanca = campo(u"ContDesBanca"_s);
    s.ContAge = campo(u"ContAge"_s);
    s.ContIndirAge = campo(u"ContIndirAge"_s);
    s.ContNumCC = campo(u"ContNumCC"_s);
    s.ContIntCC = campo(u"ContIntCC"_s);
    s.ProvCCIAA = campo(u"ProvCCIAA"_s);
    s.CodCCIAA = campo(u"CodCCIAA"_s);
    s.AnnoCCIAA = campo(u"AnnoCCIAA"_s);

    const QVariant attivita = rs.value(u"AttEcono"_s);
    const QVariant descrizioneAttivita = rs.value(u"QryDomande.AttEcono.Descrizione"_s);
    if (!nullo(descrizioneAttivita))
        s.AttEcono = RiempiSpazi(attivita, 3) + Separatore + NonNull(descrizioneAttivita);
    else if (!nullo(attivita) && interoTesto(NonNull(attivita)) != std::optional<qint64>(0))
        s.AttEcono = RiempiSpazi(attivita, 3);

    s.DomPrece = campo(u"DomPrece"_s);
    s.GGPrece = campo(u"GGPrece"_s);
    s.MMPrece = campo(u"MMPrece"_s);
    s.AAAAPrece = campo(u"AAAAPrece"_s);
    s.DomProv = campo(u"DomProv"_s);
    s.Direttiva = campo(u"Direttiva"_s);
    s.AnnoDirettiva = campo(u"AnnoDirettiva"_s);
    return vista;
}

QString DueCifre(const QString &testo)
{
    return testo.size() == 1 ? u"0"_s + testo : testo;
}

bool DatiInvariati(const SchedaOperatore &s, const Recordset &rs)
{
    auto uguale = [&rs](const QString &colonna, const QString &mostrato) {
        return NonNull(rs.value(colonna)) == mostrato;
    };
    return uguale(u"DenominazioneOp"_s, s.DenominazioneOp) && uguale(u"TipoOper"_s, codice(s.TipoOper)) &&
           componenteInvariato(rs.value(u"Corrispondenza"_s), s.Corrispondenza) &&
           uguale(u"LegNome"_s, s.LegNome) && uguale(u"LegComNasc"_s, s.LegComNasc) &&
           uguale(u"LegProvNasc"_s, s.LegProvNasc) && uguale(u"LegGGNasc"_s, s.LegGGNasc) &&
           uguale(u"LegMMNasc"_s, s.LegMMNasc) && uguale(u"LegAAAANasc"_s, s.LegAAAANasc) &&
           uguale(u"ContIBAN"_s, s.ContIBAN) && uguale(u"ContDesBanca"_s, s.ContDesBanca) &&
           uguale(u"ContAge"_s, s.ContAge) && uguale(u"ContIndirAge"_s, s.ContIndirAge) &&
           uguale(u"ContNumCC"_s, s.ContNumCC) && uguale(u"ContIntCC"_s, s.ContIntCC) &&
           uguale(u"ProvCCIAA"_s, s.ProvCCIAA) && uguale(u"CodCCIAA"_s, s.CodCCIAA) &&
           uguale(u"AnnoCCIAA"_s, s.AnnoCCIAA) && numeroInvariato(rs.value(u"AttEcono"_s), s.AttEcono) &&
           uguale(u"GGPrece"_s, s.GGPrece) && uguale(u"MMPrece"_s, s.MMPrece) &&
           uguale(u"AAAAPrece"_s, s.AAAAPrece) && uguale(u"DomProv"_s, s.DomProv) &&
           uguale(u"DomPrece"_s, s.DomPrece) && uguale(u"Direttiva"_s, s.Direttiva) &&
           uguale(u"AnnoDirettiva"_s, s.AnnoDirettiva);
}

bool dataValida(const QString &giorno, const QString &mese, const QString &anno)
{
    auto cifre = [](const QString &t) {
        if (t.isEmpty())
            return false;
        for (QChar c : t)
            if (c < u'0' || c > u'9')
                return false;
        return true;
    };
    if (!cifre(giorno) || !cifre(mese) || !cifre(anno) || giorno.size() > 2 || mese.size() > 2 ||
        anno.size() > 4)
        return false;
    int a = anno.toInt();
    if (anno.size() <= 2)
        a += a < 30 ? 2000 : 1900;
    return a >= 1 && QDate::isValid(a, mese.toInt(), giorno.toInt());
}

bool annoValido(const QString &anno)
{
    if (anno.isEmpty() || anno.size() > 5)
        return false;
    for (QChar c : anno)
        if (c < u'0' || c > u'9')
            return false;
    const int valore = anno.toInt();
    return valore <= std::numeric_limits<qint16>::max() && valore > 1900;
}

EsitoVerifica VerifOperatore(const SchedaOperatore &s, bool provinciaNascitaAbilitata)
{
    auto fallito = [](int controllo, const QString &messaggio, const QString &titolo, const QString &campo,
                      int scheda) {
        return EsitoVerifica{controllo, messaggio, titolo, campo, scheda};
    };

    if (s.DenominazioneOp.isEmpty())
        return fallito(1, u"Inserire denominazione operatore"_s, VerificaDati, u"txtDenomi"_s, 0);
    if (s.Corrispondenza.isEmpty())
        return fallito(2, u"Inserire il componente responsabile della corrispondenza"_s, VerificaDati,
                       u"cmbCorrispondenza"_s, 0);
    if (s.LegNome.isEmpty())
        return fallito(3, u"Inserire il legale rappresentante"_s, VerificaDati, u"txtLegNome"_s, 0);
    if (!s.LegComNasc.isEmpty() && provinciaNascitaAbilitata && s.LegProvNasc.isEmpty())
        return fallito(4, u"Inserire la provincia di nascita del legale rappresentante"_s,
                       VerificaDatiMaiuscola, u"txtProvLeg"_s, 0);
    if (!s.LegProvNasc.isEmpty() && s.LegComNasc.isEmpty())
        return fallito(5, u"Inserire il comune di nascita del legale rappresentante"_s, VerificaDatiMaiuscola,
                       u"txtcomleg"_s, 0);

    const int vuotiCciaa =
        int(s.ProvCCIAA.isEmpty()) + int(s.CodCCIAA.isEmpty()) + int(s.AnnoCCIAA.isEmpty());
    if (vuotiCciaa == 1 || vuotiCciaa == 2)
        return fallito(6, u"Inserire tutti i dati relativi alla CCIAA"_s, VerificaDati, u"txtProvCC"_s, 1);
    if (!s.AnnoCCIAA.isEmpty() && !annoValido(s.AnnoCCIAA))
        return fallito(7, u"Anno di iscrizione CCIAA non valido: deve essere maggiore di 1900"_s,
                       VerificaDati, u"txtAnnCC"_s, 1);

    const bool nascitaData = !(s.LegGGNasc.isEmpty() && s.LegMMNasc.isEmpty() && s.LegAAAANasc.isEmpty());
    if (nascitaData && !dataValida(s.LegGGNasc, s.LegMMNasc, s.LegAAAANasc))
        return fallito(8, u"Data di nascita del legale\r\nrappresentante non valida"_s, VerificaDati,
                       u"txtGGLeg"_s, 0);
    if (nascitaData && !annoValido(s.LegAAAANasc))
        return fallito(
            9,
            u"Data di nascita del legale\r\nrappresentante non valida: l'anno di nascita deve essere "
            u"maggiore di 1900"_s,
            VerificaDati, u"txtGGLeg"_s, 0);

    const bool precedenteData = !(s.GGPrece.isEmpty() && s.MMPrece.isEmpty() && s.AAAAPrece.isEmpty());
    if (precedenteData && !dataValida(s.GGPrece, s.MMPrece, s.AAAAPrece))
        return fallito(10, u"Data domanda precedente non valida "_s, VerificaDati, u"txtGGPrece"_s, 1);
    if (precedenteData && !annoValido(s.AAAAPrece))
        return fallito(11, u"Data domanda precedente non valida: l'anno deve essere maggiore di 1900"_s,
                       VerificaDati, u"txtAAAAPrece"_s, 1);

    const QStringList precedente{s.DomPrece, s.GGPrece,   s.MMPrece,      s.AAAAPrece,
                                 s.DomProv,  s.Direttiva, s.AnnoDirettiva};
    const auto vuoti =
        std::count_if(precedente.begin(), precedente.end(), [](const QString &t) { return t.isEmpty(); });
    if (vuoti > 0 && vuoti < precedente.size())
        return fallito(
            12,
            u"Per i dati riguardanti l'eventuale domanda precedente è obbligatorio\r\ncompilare tutti "
            u"i campi o non compilarne nessuno."_s,
            VerificaDati, QString(), -1);
    if (!s.AnnoDirettiva.isEmpty() && !annoValido(s.AnnoDirettiva))
        return fallito(13,
                       u"Anno Gestione della Direttiva su cui è stata presentata la domanda precedente non "
                       u"valido: deve essere maggiore di 1900"_s,
                       VerificaDati, u"txtAnnoDirettiva"_s, 1);
    return {};
}

const QStringList &colonneDomandaOperatore()
{
    static const QStringList colonne{
        u"GrupOpe"_s,     u"Operatore"_s,  u"DenominazioneOp"_s, u"TipoOper"_s,  u"Corrispondenza"_s,
        u"LegNome"_s,     u"LegComNasc"_s, u"LegProvNasc"_s,     u"LegGGNasc"_s, u"LegMMNasc"_s,
        u"LegAAAANasc"_s, u"ContIBAN"_s,   u"ContDesBanca"_s,    u"ContAge"_s,   u"ContIndirAge"_s,
        u"ContNumCC"_s,   u"ContIntCC"_s,  u"ProvCCIAA"_s,       u"CodCCIAA"_s,  u"AnnoCCIAA"_s,
        u"AttEcono"_s,    u"GGPrece"_s,    u"MMPrece"_s,         u"AAAAPrece"_s, u"DomPROV"_s,
        u"DomPrece"_s,    u"Direttiva"_s,  u"AnnoDirettiva"_s};
    return colonne;
}

QVariantList valoriCaricati(const Recordset &rs)
{
    QVariantList valori;
    for (const QString &colonna : colonneDomandaOperatore())
        valori << rs.value(colonna);
    return valori;
}

EsitoScrittura scriviOperatore(Connection &connection, qint32 numDoma, const QString &grupOpeCorrente,
                               const QString &operatoreCorrente, const SchedaOperatore &s,
                               const QVariantList &caricati, Scrittura scrittura)
{
    constexpr qint64 min32 = std::numeric_limits<qint32>::min();
    constexpr qint64 max32 = std::numeric_limits<qint32>::max();
    const qint64 operatore = interoLimitato(s.Operatore, min32, max32);
    const QString codiceComponente = codice(s.Corrispondenza);
    const qint64 corrispondenza = interoLimitato(codiceComponente, std::numeric_limits<qint16>::min(),
                                                 std::numeric_limits<qint16>::max());
    const qint64 attivita = s.AttEcono.isEmpty() ? 0 : interoLimitato(codice(s.AttEcono), min32, max32);
    const qint64 operatoreRegistro = interoLimitato(operatoreCorrente, min32, max32);

    // The 21 columns the application and the registry share, in the order of writing.
    const QVariantList comuni{testo(s.GrupOpe),
                              operatore,
                              testo(s.DenominazioneOp),
                              testo(codice(s.TipoOper)),
                              corrispondenza,
                              testo(s.LegNome),
                              testo(s.LegComNasc),
                              testo(s.LegProvNasc),
                              testo(s.LegGGNasc),
                              testo(s.LegMMNasc),
                              testo(s.LegAAAANasc),
                              testo(s.ContIBAN),
                              testo(s.ContDesBanca),
                              testo(s.ContAge),
                              testo(s.ContIndirAge),
                              testo(s.ContNumCC),
                              testo(s.ContIntCC),
                              testo(s.ProvCCIAA),
                              testo(s.CodCCIAA),
                              testo(s.AnnoCCIAA),
                              attivita};
    const QString colonneComuni =
        u"GrupOpe=?, Operatore=?, %1=?, TipoOper=?, Corrispondenza=?, LegNome=?, LegComNasc=?, "
        u"LegProvNasc=?, LegGGNasc=?, LegMMNasc=?, LegAAAANasc=?, ContIBAN=?, ContDesBanca=?, ContAge=?, "
        u"ContIndirAge=?, ContNumCC=?, ContIntCC=?, ProvCCIAA=?, CodCCIAA=?, AnnoCCIAA=?, AttEcono=?"_s;

    Transaction transazione(connection);
    EsitoScrittura esito;
    const QueryResult memorizzata = connection.query(u"SELECT "_s + colonneDomandaOperatore().join(u", "_s) +
                                                         u" FROM Domande WHERE NumDoma=?"_s,
                                                     {numDoma});
    if (memorizzata.rows.isEmpty()) {
        esito.domandaCancellata = true;
        return esito;
    }
    verificaRiga(scrittura, memorizzata.rows.front(), caricati);
    QVariantList domanda = comuni;
    domanda << testo(s.GGPrece) << testo(s.MMPrece) << testo(s.AAAAPrece) << testo(s.DomProv)
            << testo(s.DomPrece) << testo(s.Direttiva) << testo(s.AnnoDirettiva) << numDoma;
    connection.execute(u"UPDATE Domande SET "_s + colonneComuni.arg(u"DenominazioneOp"_s) +
                           u", GGPrece=?, MMPrece=?, AAAAPrece=?, DomPROV=?, DomPrece=?, "
                           u"Direttiva=?, AnnoDirettiva=? WHERE NumDoma=?"_s,
                       domanda);
    QVariantList registro = comuni;
    registro << testo(grupOpeCorrente) << operatoreRegistro;
    esito.registroMancante =
        connection.execute(u"UPDATE CorsiOper SET "_s + colonneComuni.arg(u"Denominazione"_s) +
                               u" WHERE GrupOpe=? AND Operatore=?"_s,
                           registro) == 0;
    transazione.commit();
    return esito;
}
