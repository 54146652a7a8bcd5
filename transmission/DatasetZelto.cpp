#include "transmission/DatasetZelto.h"

#include "core/data/Connection.h"
#include "core/services/RoutineError.h"
#include "core/text/Values.h"
#include "transmission/CampiTrasmissione.h"
#include "transmission/IndirizziFissi.h"

#include <QHash>
#include <cmath>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString FineRiga = u"\r\n"_s;

/** One row of a query with its columns by name. */
class Riga
{
public:
    Riga(const QueryResult &risultato, qsizetype indice) : m_valori(risultato.rows.at(indice))
    {
        for (qsizetype i = 0; i < risultato.columns.size(); ++i)
            m_colonne.insert(risultato.columns.at(i).name, i);
    }

    QVariant operator[](const QString &colonna) const { return m_valori.at(m_colonne.value(colonna)); }

private:
    QVariantList m_valori;
    QHash<QString, qsizetype> m_colonne;
};

/** A value's text as the document writes it: a whole number in plain digits, a fraction with a comma. */
QString testo(const QVariant &valore)
{
    return campoSemplice(valore);
}

/** Not Null and not the empty text; blanks count as set, a number is set unless Null. */
bool impostato(const QVariant &valore)
{
    return !isNullValue(valore) && !testo(valore).isEmpty();
}

/** A value that the record always writes: Null cannot be converted to text. */
QString obbligatorio(const QVariant &valore)
{
    if (isNullValue(valore))
        throw RoutineError(ErrorCode::InvalidUseOfNull);
    return testo(valore);
}

/** The number with at least `cifre` digits, zero-filled on the left ("00123"); longer ones are not cut. */
QString conZeri(const QVariant &valore, int cifre)
{
    const qint64 numero = std::llround(std::fabs(valore.toDouble()));
    const QString cifreNumero = QString::number(numero).rightJustified(cifre, u'0');
    return valore.toDouble() <= -0.5 ? u'-' + cifreNumero : cifreNumero;
}

/** Writes records and fields at their indents, each line ended by CR LF. */
class Documento
{
public:
    void riga(const QString &contenuto) { m_testo += contenuto + FineRiga; }
    void apri(const QString &record) { riga(u"  <"_s + record + u'>'); }
    void chiudi(const QString &record) { riga(u"  </"_s + record + u'>'); }
    /** A field whose content is escaped already. */
    void campoCodificato(const QString &nome, const QString &contenuto)
    {
        riga(u"    <"_s + nome + u'>' + contenuto + u"</"_s + nome + u'>');
    }
    void campo(const QString &nome, const QString &valore)
    {
        campoCodificato(nome, CodificaTestoXml(valore));
    }
    /** The field, only when the value is set. */
    void campoSeImpostato(const QString &nome, const QVariant &valore)
    {
        if (impostato(valore))
            campo(nome, testo(valore));
    }
    const QString &testoDocumento() const { return m_testo; }

private:
    QString m_testo;
};

void scriviCorsoZelto(Documento &doc, Connection &CorsiDB, const Riga &corso)
{
    const QVariant compoResp = corso[u"CompoResp"_s];
    const QVariant componente = isNullValue(compoResp) ? corso[u"SedeInteressata"_s] : compoResp;
    const QString grupOpe = obbligatorio(corso[u"GrupOpe"_s]);
    const QString operatore = obbligatorio(corso[u"Operatore"_s]);

    doc.apri(u"CorsoZelto"_s);
    doc.campo(u"Guid"_s, testo(corso[u"Guid"_s]));
    doc.campo(u"GruppoOperatore"_s, grupOpe);
    doc.campo(u"CodiceOperatore"_s, operatore);
    doc.campo(u"ProgrComponente"_s, obbligatorio(componente));
    doc.campo(u"CodiceZeltoCentro"_s, grupOpe + conZeri(corso[u"Operatore"_s], 5) + conZeri(componente, 3));
    doc.campoSeImpostato(u"ProvvProgrAttivita"_s, corso[u"Corso"_s]);
    const QVariant codQualif = corso[u"CodQualif"_s];
    if (impostato(codQualif)) {
        doc.campo(u"CodiceQualifica"_s, testo(codQualif));
        const QueryResult qualifica =
            CorsiDB.query(u"SELECT DesQualif FROM Qualifi WHERE CodQualif = ?"_s, {codQualif});
        if (!qualifica.rows.isEmpty())
            doc.campoSeImpostato(u"Denominazione"_s, qualifica.rows.front().at(0));
    }
    doc.campoSeImpostato(u"Settore"_s, corso[u"CodSetto"_s]);
    doc.campoSeImpostato(u"Comparto"_s, corso[u"CodComp"_s]);
    doc.campoSeImpostato(u"RipartizioneIter"_s, corso[u"DurataTotIter"_s]);
    doc.campoSeImpostato(u"Certificazione"_s, corso[u"CodCert"_s]);
    doc.campoSeImpostato(u"OreStage"_s, corso[u"OreStage"_s]);
    doc.campoSeImpostato(u"TotaleOreIter"_s, corso[u"TotOreIter"_s]);
    doc.campoSeImpostato(u"Asse"_s, corso[u"CodAsse"_s]);
    doc.campoSeImpostato(u"Misura"_s, corso[u"CodMisura"_s]);
    doc.campoSeImpostato(u"Azione"_s, corso[u"CodAzione"_s]);
    if (!isNullValue(compoResp))
        doc.campo(u"SedeOccasionale"_s, testo(corso[u"SedeInteressata"_s]));
    const QVariant ati = corso[u"ATI"_s];
    if (!isNullValue(ati) && ati.toBool())
        doc.campoCodificato(u"TipoAssociazione"_s, u"ATS"_s);
    doc.chiudi(u"CorsoZelto"_s);
}

void scriviDestinatario(Documento &doc, Connection &CorsiDB, const QString &guid, const QVariant &codDest)
{
    if (isNullValue(codDest))
        return;
    const QueryResult destin =
        CorsiDB.query(u"SELECT CodDest, DesDest FROM Destin WHERE CodDest = ?"_s, {codDest});
    if (destin.rows.isEmpty())
        return;
    doc.apri(u"DestinatariZelto"_s);
    doc.campo(u"Guid"_s, guid);
    doc.campo(u"CodiceDestinatario"_s, testo(destin.rows.front().at(0)));
    // A group without its description still goes out, with an empty description.
    doc.campo(u"DescrDestinatario"_s, testo(destin.rows.front().at(1)));
    doc.chiudi(u"DestinatariZelto"_s);
}

void scriviIndirizzi(Documento &doc, const QString &guid, const Riga &corso)
{
    for (int n = 1; n <= 6; ++n) {
        const QVariant descrizione = corso[u"DesInd"_s + QString::number(n)];
        if (!impostato(descrizione))
            continue;
        const QVariant codice = corso[u"CodInd"_s + QString::number(n)];
        doc.apri(u"IndirizzoZelto"_s);
        doc.campo(u"Guid"_s, guid);
        if (!isNullValue(codice))
            doc.campo(u"CodiceIndirizzo"_s, testo(codice));
        doc.campo(u"DescrIndirizzo"_s, testo(descrizione));
        doc.chiudi(u"IndirizzoZelto"_s);
    }
}

/** "Prefix-number", each part escaped; a Null prefix counts as an empty one. */
void scriviNumero(Documento &doc, const QString &campo, const QVariant &prefisso, const QVariant &numero)
{
    if (impostato(numero))
        doc.campoCodificato(campo,
                            CodificaTestoXml(testo(prefisso)) + u'-' + CodificaTestoXml(testo(numero)));
}

void scriviSedeOccasionale(Documento &doc, Connection &CorsiDB, const QVariant &sede)
{
    const QueryResult trovata = CorsiDB.query(
        u"SELECT S.SedeOcc, S.Denominazione, C.CodiceConversione, S.Cap, S.Indirizzo, S.Pref, S.Tel, "
        u"S.PrefFax, S.Fax FROM CorsiSediOcc S LEFT JOIN Comuni C ON C.CodComune = S.CodComune "
        u"WHERE S.SedeOcc = ?"_s,
        {sede});
    if (trovata.rows.isEmpty())
        return;
    const Riga occ(trovata, 0);
    doc.apri(u"SediOccasionaliZelto"_s);
    doc.campo(u"CodiceSedeOccasionale"_s, obbligatorio(occ[u"SedeOcc"_s]));
    doc.campoSeImpostato(u"Denominazione"_s, occ[u"Denominazione"_s]);
    doc.campoSeImpostato(u"CodiceConversione"_s, occ[u"CodiceConversione"_s]);
    doc.campoSeImpostato(u"Cap"_s, occ[u"Cap"_s]);
    doc.campoSeImpostato(u"Indirizzo"_s, occ[u"Indirizzo"_s]);
    scriviNumero(doc, u"Telefono"_s, occ[u"Pref"_s], occ[u"Tel"_s]);
    scriviNumero(doc, u"Fax"_s, occ[u"PrefFax"_s], occ[u"Fax"_s]);
    doc.chiudi(u"SediOccasionaliZelto"_s);
}

} // namespace

QString CodificaTestoXml(const QString &testo)
{
    QString codificato;
    codificato.reserve(testo.size());
    for (qsizetype i = 0; i < testo.size(); ++i) {
        char32_t carattere = testo.at(i).unicode();
        if (QChar::isHighSurrogate(carattere) && i + 1 < testo.size() && testo.at(i + 1).isLowSurrogate()) {
            carattere = QChar::surrogateToUcs4(testo.at(i), testo.at(i + 1));
            ++i;
        }
        switch (carattere) {
        case u'"':
            codificato += u"&quot;"_s;
            break;
        case u'&':
            codificato += u"&amp;"_s;
            break;
        case u'<':
            codificato += u"&lt;"_s;
            break;
        case u'>':
            codificato += u"&gt;"_s;
            break;
        default:
            if (carattere >= 32 && carattere <= 127) {
                codificato += QChar(char16_t(carattere));
            } else {
                const bool ammesso = carattere == 9 || carattere == 10 || carattere == 13 ||
                                     (carattere > 127 && !QChar::isSurrogate(carattere) &&
                                      carattere != 0xFFFE && carattere != 0xFFFF);
                if (ammesso)
                    codificato += u"&#"_s + QString::number(quint32(carattere)) + u';';
            }
        }
    }
    return codificato;
}

QString CreaXmlCorso(Connection &CorsiDB, const QString &guid)
{
    Documento doc;
    doc.riga(u"<dsZelto xmlns=\""_s + NamespaceDsZelto + u"\">"_s);
    const QueryResult corsi = CorsiDB.query(
        u"SELECT Guid, GrupOpe, Operatore, SedeInteressata, CompoResp, Corso, CodQualif, CodSetto, CodComp, "
        u"DurataTotIter, CodCert, OreStage, TotOreIter, CodAsse, CodMisura, CodAzione, ATI, CodDest, "
        u"CodDest2, DesInd1, DesInd2, DesInd3, DesInd4, DesInd5, DesInd6, CodInd1, CodInd2, CodInd3, "
        u"CodInd4, CodInd5, CodInd6 FROM CorsiProp WHERE Guid = ?"_s,
        {guid});
    for (qsizetype i = 0; i < corsi.rows.size(); ++i) {
        const Riga corso(corsi, i);
        const QString guidCorso = testo(corso[u"Guid"_s]);
        scriviCorsoZelto(doc, CorsiDB, corso);
        scriviDestinatario(doc, CorsiDB, guidCorso, corso[u"CodDest"_s]);
        scriviDestinatario(doc, CorsiDB, guidCorso, corso[u"CodDest2"_s]);
        scriviIndirizzi(doc, guidCorso, corso);
        if (!isNullValue(corso[u"CompoResp"_s]))
            scriviSedeOccasionale(doc, CorsiDB, corso[u"SedeInteressata"_s]);
    }
    doc.riga(u"</dsZelto>"_s);
    return doc.testoDocumento();
}
