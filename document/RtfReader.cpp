#include "document/RtfReader.h"

#include "core/text/Cp1252.h"
#include "document/Fonts.h"
#include "document/PageContent.h"

#include <QColor>
#include <QHash>
#include <QTextCursor>
#include <QTextTable>
#include <optional>
#include <variant>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

constexpr int ProfonditaMassima = 64;
constexpr int ColonneMassime = 63;
constexpr int LunghezzaMassimaParola = 32;
constexpr int CifreMassime = 10;
/** Bounds of lengths in twips (about 55 cm) and of font sizes in half points. */
constexpr int TwipsMassimi = 31680;
constexpr int MezziPuntiMassimi = 3276;

struct ErroreRtf
{
    QString motivo;
};

struct Carattere
{
    int font = 0;
    int mezziPunti = 24;
    bool grassetto = false;
    bool corsivo = false;
    bool sottolineato = false;
    bool barrato = false;
    int colore = 0;
    bool operator==(const Carattere &) const = default;
};

struct Paragrafo
{
    Qt::Alignment allineamento = Qt::AlignLeft;
    int prima = 0;
    int dopo = 0;
    int sinistra = 0;
    int destra = 0;
    int rientro = 0;
    bool interruzionePrima = false;
    bool inTabella = false;
};

struct Tratto
{
    QString testo;
    Carattere carattere;
    QStringList segnalibri;
};

struct ParagrafoLetto
{
    Paragrafo formato;
    QList<Tratto> tratti;
};

struct DefinizioneCella
{
    int destra = 0;
    int bordo = 0;
    int sfondo = 0;
    bool unitaVerticale = false;
    bool continuaVerticale = false;
};

struct Riga
{
    int spaziatura = 0;
    QList<DefinizioneCella> celle;
    QList<QList<ParagrafoLetto>> contenuti;
};

using Elemento = std::variant<ParagrafoLetto, QList<Riga>>;

/** The text of one part of the page as read so far. */
struct Storia
{
    QList<Elemento> elementi;
    ParagrafoLetto corrente;
    bool aperto = false;
    QList<ParagrafoLetto> cella;
    QList<QList<ParagrafoLetto>> celleRiga;
    Riga definizione;
    bool interruzioneInSospeso = false;
    QStringList segnalibri;
};

enum class Destinazione
{
    Testo,
    Salta,
    TabellaFont,
    VoceFont,
    TabellaColori,
    InizioSegnalibro,
    FineSegnalibro,
};

struct StatoGruppo
{
    Destinazione destinazione = Destinazione::Testo;
    Storia *storia = nullptr;
    Carattere carattere;
    Paragrafo paragrafo;
    int saltoUnicode = 1;
};

class RtfReader
{
public:
    RtfReader(QByteArrayView rtf, PageContent &pagina) : m_rtf(rtf), m_pagina(pagina) {}

    void leggi()
    {
        saltaSpazi();
        if (!m_rtf.sliced(m_pos).startsWith("{\\rtf"))
            throw ErroreRtf{u"Il file non è in formato RTF"_s};
        StatoGruppo radice;
        radice.storia = &m_corpo;
        m_pila.append(radice);
        bool chiuso = false;
        while (m_pos < m_rtf.size()) {
            const char c = m_rtf[m_pos];
            if (c == '{') {
                ++m_pos;
                if (m_pila.size() > ProfonditaMassima)
                    throw ErroreRtf{u"Gruppi annidati troppo in profondità"_s};
                StatoGruppo nuovo = m_pila.last();
                if (nuovo.destinazione == Destinazione::TabellaFont)
                    nuovo.destinazione = Destinazione::VoceFont;
                else if (nuovo.destinazione != Destinazione::Testo)
                    nuovo.destinazione = Destinazione::Salta;
                m_pila.append(nuovo);
                m_inizioGruppo = true;
                continue;
            }
            if (c == '}') {
                ++m_pos;
                chiudiGruppo();
                if (m_pila.size() == 1) {
                    chiuso = true;
                    break;
                }
                continue;
            }
            const bool inizio = m_inizioGruppo;
            m_inizioGruppo = false;
            if (c == '\\') {
                comando(inizio);
            } else {
                ++m_pos;
                if (c != '\r' && c != '\n' && c != '\0')
                    carattere(QChar(char16_t(uchar(c))), true);
            }
        }
        if (!chiuso)
            throw ErroreRtf{u"Il file RTF è troncato"_s};
        saltaSpazi();
        if (m_pos < m_rtf.size())
            throw ErroreRtf{u"Testo dopo la fine del file RTF"_s};
        chiudiStoria(m_corpo);
        chiudiStoria(m_intestazione);
        chiudiStoria(m_piede);
        costruisci(*m_pagina.body, m_corpo);
        costruisci(*m_pagina.header, m_intestazione);
        costruisci(*m_pagina.footer, m_piede);
    }

private:
    void saltaSpazi()
    {
        while (m_pos < m_rtf.size() && (m_rtf[m_pos] == ' ' || m_rtf[m_pos] == '\r' || m_rtf[m_pos] == '\n' ||
                                        m_rtf[m_pos] == '\t' || m_rtf[m_pos] == '\0'))
            ++m_pos;
    }

    StatoGruppo &stato() { return m_pila.last(); }

    void chiudiGruppo()
    {
        if (m_pila.size() <= 1)
            throw ErroreRtf{u"Parentesi graffe non bilanciate"_s};
        const StatoGruppo chiuso = m_pila.takeLast();
        Storia &storia = *chiuso.storia;
        if (chiuso.destinazione == Destinazione::Testo && storia.aperto &&
            (m_pila.size() == 1 || &storia != m_pila.last().storia)) {
            storia.corrente.formato = chiuso.paragrafo;
            chiudiStoria(storia);
        }
        if (chiuso.destinazione == Destinazione::VoceFont &&
            m_pila.last().destinazione == Destinazione::TabellaFont)
            fineFont();
        else if (chiuso.destinazione == Destinazione::InizioSegnalibro && !m_segnalibro.isEmpty()) {
            if (!chiuso.storia->segnalibri.contains(m_segnalibro))
                chiuso.storia->segnalibri.append(m_segnalibro);
        } else if (chiuso.destinazione == Destinazione::FineSegnalibro)
            chiuso.storia->segnalibri.removeAll(m_segnalibro);
    }

    void fineFont()
    {
        if (!m_nomeFont.isEmpty()) {
            QString nome = m_nomeFont.trimmed();
            if (nome.endsWith(u';'))
                nome.chop(1);
            m_font.insert(m_numeroFont, famigliaCarattere(nome.trimmed()));
        }
        m_nomeFont.clear();
    }

    /** A control word or symbol at m_pos (a backslash). */
    void comando(bool inizioGruppo)
    {
        ++m_pos;
        if (m_pos >= m_rtf.size())
            throw ErroreRtf{u"Il file RTF è troncato"_s};
        const char c = m_rtf[m_pos];
        if (!std::isalpha(uchar(c))) {
            ++m_pos;
            simbolo(c, inizioGruppo);
            return;
        }
        const qsizetype inizio = m_pos;
        while (m_pos < m_rtf.size() && std::isalpha(uchar(m_rtf[m_pos])))
            ++m_pos;
        if (m_pos - inizio > LunghezzaMassimaParola)
            throw ErroreRtf{u"Parola di controllo troppo lunga"_s};
        const QByteArray parola = m_rtf.sliced(inizio, m_pos - inizio).toByteArray();
        std::optional<int> parametro;
        const qsizetype inizioNumero = m_pos;
        if (m_pos < m_rtf.size() && m_rtf[m_pos] == '-')
            ++m_pos;
        const qsizetype inizioCifre = m_pos;
        while (m_pos < m_rtf.size() && std::isdigit(uchar(m_rtf[m_pos])))
            ++m_pos;
        if (m_pos > inizioCifre) {
            if (m_pos - inizioCifre > CifreMassime)
                throw ErroreRtf{u"Numero troppo grande nel file RTF"_s};
            const qint64 valore = m_rtf.sliced(inizioNumero, m_pos - inizioNumero).toByteArray().toLongLong();
            if (valore < std::numeric_limits<int>::min() || valore > std::numeric_limits<int>::max())
                throw ErroreRtf{u"Numero troppo grande nel file RTF"_s};
            parametro = int(valore);
        } else {
            m_pos = inizioNumero;
        }
        if (m_pos < m_rtf.size() && m_rtf[m_pos] == ' ')
            ++m_pos;
        parolaDiControllo(parola, parametro, inizioGruppo);
    }

    void simbolo(char c, bool inizioGruppo)
    {
        switch (c) {
        case '\\':
        case '{':
        case '}':
            carattere(QChar(char16_t(c)), true);
            return;
        case '~':
            carattere(QChar::Nbsp, true);
            return;
        case '_':
            carattere(QChar(0x2011), true);
            return;
        case '\'': {
            if (m_pos + 2 > m_rtf.size())
                throw ErroreRtf{u"Il file RTF è troncato"_s};
            bool ok = false;
            const int byte = m_rtf.sliced(m_pos, 2).toByteArray().toInt(&ok, 16);
            if (!ok)
                throw ErroreRtf{u"Carattere esadecimale non valido nel file RTF"_s};
            m_pos += 2;
            const char b = char(byte);
            carattere(Cp1252::decode(QByteArrayView(&b, 1)).at(0), true);
            return;
        }
        case '*':
            if (inizioGruppo)
                stato().destinazione = Destinazione::Salta;
            return;
        case '\r':
        case '\n':
            paragrafoFinito();
            return;
        default:
            return;
        }
    }

    int intervallo(std::optional<int> parametro, int minimo, int massimo, int predefinito)
    {
        const int valore = parametro.value_or(predefinito);
        if (valore < minimo || valore > massimo)
            throw ErroreRtf{u"Valore fuori dall'intervallo consentito nel file RTF"_s};
        return valore;
    }

    void parolaDiControllo(const QByteArray &p, std::optional<int> n, bool inizioGruppo)
    {
        StatoGruppo &s = stato();
        const bool attivo = !n || *n != 0;
        if (inizioGruppo) {
            if (p == "fonttbl") {
                s.destinazione = Destinazione::TabellaFont;
                return;
            }
            if (p == "colortbl") {
                s.destinazione = Destinazione::TabellaColori;
                return;
            }
            if (p == "header" || p == "headerl" || p == "headerr" || p == "headerf") {
                s.storia = &m_intestazione;
                return;
            }
            if (p == "footer" || p == "footerl" || p == "footerr" || p == "footerf") {
                s.storia = &m_piede;
                return;
            }
            if (p == "stylesheet" || p == "info" || p == "pict" || p == "object" || p == "fldinst" ||
                p == "listtable" || p == "listoverridetable" || p == "revtbl" || p == "rsidtbl") {
                s.destinazione = Destinazione::Salta;
                return;
            }
        }
        if ((p == "bkmkstart" || p == "bkmkend") && m_pila.size() > 1 &&
            m_pila[m_pila.size() - 2].destinazione == Destinazione::Testo) {
            s.destinazione = p == "bkmkstart" ? Destinazione::InizioSegnalibro : Destinazione::FineSegnalibro;
            m_segnalibro.clear();
            return;
        }
        if (s.destinazione == Destinazione::Salta)
            return;
        if (s.destinazione == Destinazione::TabellaColori) {
            if (p == "red")
                m_coloreInCorso.setRed(intervallo(n, 0, 255, 0));
            else if (p == "green")
                m_coloreInCorso.setGreen(intervallo(n, 0, 255, 0));
            else if (p == "blue")
                m_coloreInCorso.setBlue(intervallo(n, 0, 255, 0));
            return;
        }
        if (s.destinazione == Destinazione::VoceFont || s.destinazione == Destinazione::TabellaFont) {
            if (p == "f")
                m_numeroFont = intervallo(n, 0, 32767, 0);
            return;
        }
        Storia &storia = *s.storia;
        Carattere &c = s.carattere;
        Paragrafo &f = s.paragrafo;
        if (p == "par") {
            paragrafoFinito();
        } else if (p == "pard") {
            f = Paragrafo();
            if (s.destinazione == Destinazione::Testo && !storia.aperto) {
                storia.corrente = ParagrafoLetto();
                storia.aperto = true;
            }
        } else if (p == "plain") {
            c = Carattere();
            c.font = m_fontPredefinito;
        } else if (p == "deff") {
            m_fontPredefinito = intervallo(n, 0, 32767, 0);
            c.font = m_fontPredefinito;
        } else if (p == "uc") {
            s.saltoUnicode = intervallo(n, 0, 10, 1);
        } else if (p == "u") {
            const int codice = intervallo(n, -32768, 65535, 0);
            carattere(QChar(char16_t(codice < 0 ? codice + 65536 : codice)), true);
            saltaAlternativa(s.saltoUnicode);
        } else if (p == "f") {
            c.font = intervallo(n, 0, 32767, 0);
        } else if (p == "fs") {
            c.mezziPunti = intervallo(n, 1, MezziPuntiMassimi, 24);
        } else if (p == "b") {
            c.grassetto = attivo;
        } else if (p == "i") {
            c.corsivo = attivo;
        } else if (p == "ul") {
            c.sottolineato = attivo;
        } else if (p == "ulnone") {
            c.sottolineato = false;
        } else if (p == "strike") {
            c.barrato = attivo;
        } else if (p == "cf") {
            c.colore = intervallo(n, 0, 32767, 0);
        } else if (p == "ql") {
            f.allineamento = Qt::AlignLeft;
        } else if (p == "qc") {
            f.allineamento = Qt::AlignHCenter;
        } else if (p == "qr") {
            f.allineamento = Qt::AlignRight;
        } else if (p == "qj") {
            f.allineamento = Qt::AlignJustify;
        } else if (p == "sb") {
            f.prima = intervallo(n, 0, TwipsMassimi, 0);
        } else if (p == "sa") {
            f.dopo = intervallo(n, 0, TwipsMassimi, 0);
        } else if (p == "li") {
            f.sinistra = intervallo(n, -TwipsMassimi, TwipsMassimi, 0);
        } else if (p == "ri") {
            f.destra = intervallo(n, -TwipsMassimi, TwipsMassimi, 0);
        } else if (p == "fi") {
            f.rientro = intervallo(n, -TwipsMassimi, TwipsMassimi, 0);
        } else if (p == "pagebb") {
            f.interruzionePrima = true;
        } else if (p == "page") {
            paragrafoFinito();
            storia.interruzioneInSospeso = true;
        } else if (p == "intbl") {
            f.inTabella = true;
        } else if (p == "line") {
            carattere(QChar::LineSeparator, false);
        } else if (p == "tab") {
            carattere(u'\t', false);
        } else if (p == "emdash") {
            carattere(QChar(0x2014), false);
        } else if (p == "endash") {
            carattere(QChar(0x2013), false);
        } else if (p == "lquote") {
            carattere(QChar(0x2018), false);
        } else if (p == "rquote") {
            carattere(QChar(0x2019), false);
        } else if (p == "ldblquote") {
            carattere(QChar(0x201C), false);
        } else if (p == "rdblquote") {
            carattere(QChar(0x201D), false);
        } else if (p == "bullet") {
            carattere(QChar(0x2022), false);
        } else if (p == "paperw") {
            m_pagina.setup.paperWidth = intervallo(n, 1440, TwipsMassimi, 11906);
        } else if (p == "paperh") {
            m_pagina.setup.paperHeight = intervallo(n, 1440, TwipsMassimi, 16838);
        } else if (p == "margl") {
            m_pagina.setup.marginLeft = intervallo(n, 0, TwipsMassimi, 1800);
        } else if (p == "margr") {
            m_pagina.setup.marginRight = intervallo(n, 0, TwipsMassimi, 1800);
        } else if (p == "margt") {
            m_pagina.setup.marginTop = intervallo(n, 0, TwipsMassimi, 1440);
        } else if (p == "margb") {
            m_pagina.setup.marginBottom = intervallo(n, 0, TwipsMassimi, 1440);
        } else if (p == "headery") {
            m_pagina.setup.headerY = intervallo(n, 0, TwipsMassimi, 720);
        } else if (p == "footery") {
            m_pagina.setup.footerY = intervallo(n, 0, TwipsMassimi, 720);
        } else if (p == "trowd") {
            storia.definizione = Riga();
            m_cellaInCorso = DefinizioneCella();
        } else if (p == "trgaph") {
            storia.definizione.spaziatura = intervallo(n, 0, TwipsMassimi, 0);
        } else if (p == "brdrw") {
            m_cellaInCorso.bordo = intervallo(n, 0, 255, 0);
        } else if (p == "brdrs" && m_cellaInCorso.bordo == 0) {
            m_cellaInCorso.bordo = 1;
        } else if (p == "clcbpat") {
            m_cellaInCorso.sfondo = intervallo(n, 0, 32767, 0);
        } else if (p == "clvmgf") {
            m_cellaInCorso.unitaVerticale = true;
        } else if (p == "clvmrg") {
            m_cellaInCorso.continuaVerticale = true;
        } else if (p == "cellx") {
            m_cellaInCorso.destra = intervallo(n, 1, 2 * TwipsMassimi, 1);
            if (!storia.definizione.celle.isEmpty() &&
                m_cellaInCorso.destra <= storia.definizione.celle.last().destra)
                throw ErroreRtf{u"Colonne di tabella non valide nel file RTF"_s};
            if (storia.definizione.celle.size() >= ColonneMassime)
                throw ErroreRtf{u"Troppe colonne in una tabella del file RTF"_s};
            storia.definizione.celle.append(m_cellaInCorso);
            m_cellaInCorso = DefinizioneCella();
        } else if (p == "cell") {
            chiudiParagrafo(storia, true);
            storia.celleRiga.append(storia.cella);
            storia.cella.clear();
        } else if (p == "row") {
            fineRiga(storia);
        }
    }

    void saltaAlternativa(int quanti)
    {
        for (int i = 0; i < quanti && m_pos < m_rtf.size(); ++i) {
            const char c = m_rtf[m_pos];
            if (c == '{' || c == '}')
                return;
            if (c == '\\') {
                if (m_pos + 1 < m_rtf.size() && m_rtf[m_pos + 1] == '\'')
                    m_pos += 4;
                else
                    return;
            } else {
                ++m_pos;
            }
        }
        m_pos = qMin(m_pos, m_rtf.size());
    }

    void carattere(QChar c, bool testuale)
    {
        StatoGruppo &s = stato();
        switch (s.destinazione) {
        case Destinazione::Salta:
        case Destinazione::TabellaFont:
            return;
        case Destinazione::VoceFont:
            m_nomeFont += c;
            return;
        case Destinazione::TabellaColori:
            if (c == u';') {
                m_colori.append(m_coloreInCorso);
                m_coloreInCorso = QColor(0, 0, 0);
            }
            return;
        case Destinazione::InizioSegnalibro:
        case Destinazione::FineSegnalibro:
            m_segnalibro += c;
            return;
        case Destinazione::Testo:
            break;
        }
        Q_UNUSED(testuale)
        Storia &storia = *s.storia;
        if (!storia.aperto) {
            storia.corrente = ParagrafoLetto();
            storia.aperto = true;
        }
        QList<Tratto> &tratti = storia.corrente.tratti;
        if (!tratti.isEmpty() && tratti.last().carattere == s.carattere &&
            tratti.last().segnalibri == storia.segnalibri)
            tratti.last().testo += c;
        else
            tratti.append({QString(c), s.carattere, storia.segnalibri});
    }

    void paragrafoFinito()
    {
        StatoGruppo &s = stato();
        if (s.destinazione != Destinazione::Testo)
            return;
        chiudiParagrafo(*s.storia, s.paragrafo.inTabella);
    }

    /** Ends the paragraph being read, into the cell when in a table, into the story otherwise. */
    void chiudiParagrafo(Storia &storia, bool inTabella)
    {
        ParagrafoLetto paragrafo = storia.aperto ? storia.corrente : ParagrafoLetto();
        paragrafo.formato = stato().paragrafo;
        storia.aperto = false;
        if (storia.interruzioneInSospeso) {
            paragrafo.formato.interruzionePrima = true;
            storia.interruzioneInSospeso = false;
        }
        if (inTabella) {
            storia.cella.append(paragrafo);
            return;
        }
        storia.elementi.append(paragrafo);
    }

    void fineRiga(Storia &storia)
    {
        if (storia.definizione.celle.isEmpty())
            throw ErroreRtf{u"Riga di tabella senza celle nel file RTF"_s};
        Riga riga = storia.definizione;
        riga.contenuti = storia.celleRiga;
        storia.celleRiga.clear();
        if (riga.contenuti.size() > riga.celle.size())
            throw ErroreRtf{u"Riga di tabella con troppe celle nel file RTF"_s};
        riga.contenuti.resize(riga.celle.size());
        if (!storia.elementi.isEmpty() && std::holds_alternative<QList<Riga>>(storia.elementi.last()))
            std::get<QList<Riga>>(storia.elementi.last()).append(riga);
        else
            storia.elementi.append(QList<Riga>{riga});
    }

    static void chiudiStoria(Storia &storia)
    {
        if (!storia.aperto)
            return;
        storia.aperto = false;
        if (storia.interruzioneInSospeso)
            storia.corrente.formato.interruzionePrima = true;
        if (storia.corrente.formato.inTabella)
            storia.cella.append(storia.corrente);
        else
            storia.elementi.append(storia.corrente);
    }

    QTextCharFormat formatoCarattere(const Tratto &tratto) const
    {
        QTextCharFormat f;
        f.setFontFamilies(
            QStringList{m_font.value(tratto.carattere.font, famigliaCarattere(u"Times New Roman"_s))});
        f.setFontPointSize(tratto.carattere.mezziPunti / 2.0);
        f.setFontWeight(tratto.carattere.grassetto ? QFont::Bold : QFont::Normal);
        f.setFontItalic(tratto.carattere.corsivo);
        f.setFontUnderline(tratto.carattere.sottolineato);
        f.setFontStrikeOut(tratto.carattere.barrato);
        if (tratto.carattere.colore > 0 && tratto.carattere.colore < m_colori.size())
            f.setForeground(m_colori[tratto.carattere.colore]);
        if (!tratto.segnalibri.isEmpty()) {
            f.setAnchor(true);
            f.setAnchorNames(tratto.segnalibri);
        }
        return f;
    }

    static QTextBlockFormat formatoParagrafo(const Paragrafo &p)
    {
        QTextBlockFormat f;
        f.setAlignment(p.allineamento);
        f.setTopMargin(p.prima / 20.0);
        f.setBottomMargin(p.dopo / 20.0);
        f.setLeftMargin(p.sinistra / 20.0);
        f.setRightMargin(p.destra / 20.0);
        f.setTextIndent(p.rientro / 20.0);
        if (p.interruzionePrima)
            f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        return f;
    }

    /** Writes a paragraph at the cursor: into the block it stands in when `libero`, else a new one. */
    void scriviParagrafo(QTextCursor &cursore, const ParagrafoLetto &paragrafo, bool libero) const
    {
        if (libero)
            cursore.setBlockFormat(formatoParagrafo(paragrafo.formato));
        else
            cursore.insertBlock(formatoParagrafo(paragrafo.formato));
        for (const Tratto &tratto : paragrafo.tratti)
            cursore.insertText(tratto.testo, formatoCarattere(tratto));
    }

    void scriviTabella(QTextCursor &cursore, const QList<Riga> &righe) const
    {
        QList<int> bordi;
        for (const Riga &riga : righe)
            for (const DefinizioneCella &cella : riga.celle)
                if (!bordi.contains(cella.destra))
                    bordi.append(cella.destra);
        std::sort(bordi.begin(), bordi.end());
        if (bordi.size() > ColonneMassime)
            throw ErroreRtf{u"Troppe colonne in una tabella del file RTF"_s};
        const double larghezzaTesto = qMax(1, m_pagina.setup.textWidth());
        QTextTableFormat formato;
        QList<QTextLength> larghezze;
        int sinistra = 0;
        for (int bordo : bordi) {
            larghezze.append(
                QTextLength(QTextLength::PercentageLength, (bordo - sinistra) * 100.0 / bordi.last()));
            sinistra = bordo;
        }
        formato.setColumnWidthConstraints(larghezze);
        formato.setWidth(QTextLength(QTextLength::PercentageLength, bordi.last() * 100.0 / larghezzaTesto));
        formato.setCellSpacing(0);
        formato.setCellPadding(righe.first().spaziatura / 20.0);
        formato.setBorderCollapse(true);
        formato.setMargin(0);
        int bordo = 0;
        for (const Riga &riga : righe)
            for (const DefinizioneCella &cella : riga.celle)
                bordo = qMax(bordo, cella.bordo);
        formato.setBorder(bordo / 20.0);
        formato.setBorderStyle(bordo ? QTextFrameFormat::BorderStyle_Solid
                                     : QTextFrameFormat::BorderStyle_None);
        formato.setBorderBrush(Qt::black);
        QTextTable *tabella = cursore.insertTable(int(righe.size()), int(bordi.size()), formato);
        for (int r = 0; r < righe.size(); ++r) {
            int colonna = 0;
            for (int c = 0; c < righe[r].celle.size(); ++c) {
                const DefinizioneCella &definizione = righe[r].celle[c];
                const int ultima = int(bordi.indexOf(definizione.destra));
                if (definizione.continuaVerticale && r > 0) {
                    const QTextTableCell sopra = tabella->cellAt(r - 1, colonna);
                    tabella->mergeCells(sopra.row(), sopra.column(), r - sopra.row() + 1,
                                        ultima - colonna + 1);
                    colonna = ultima + 1;
                    continue;
                }
                if (ultima > colonna)
                    tabella->mergeCells(r, colonna, 1, ultima - colonna + 1);
                QTextTableCell cella = tabella->cellAt(r, colonna);
                if (definizione.sfondo > 0 && definizione.sfondo < m_colori.size()) {
                    QTextTableCellFormat formatoCella = cella.format().toTableCellFormat();
                    formatoCella.setBackground(m_colori[definizione.sfondo]);
                    cella.setFormat(formatoCella);
                }
                QTextCursor dentro = cella.firstCursorPosition();
                bool libero = true;
                for (const ParagrafoLetto &paragrafo : righe[r].contenuti[c]) {
                    scriviParagrafo(dentro, paragrafo, libero);
                    libero = false;
                }
                colonna = ultima + 1;
            }
        }
        cursore.setPosition(tabella->lastPosition() + 1);
    }

    void costruisci(QTextDocument &documento, const Storia &storia) const
    {
        QFont base = documento.defaultFont();
        base.setFamilies(QStringList{m_font.value(m_fontPredefinito, famigliaCarattere(base.family()))});
        documento.setDefaultFont(base);
        QTextCursor cursore(&documento);
        bool libero = true;
        for (const Elemento &elemento : storia.elementi) {
            if (const auto *paragrafo = std::get_if<ParagrafoLetto>(&elemento)) {
                scriviParagrafo(cursore, *paragrafo, libero);
                libero = false;
            } else {
                scriviTabella(cursore, std::get<QList<Riga>>(elemento));
                libero = true;
            }
        }
    }

    QByteArrayView m_rtf;
    qsizetype m_pos = 0;
    PageContent &m_pagina;
    QList<StatoGruppo> m_pila;
    bool m_inizioGruppo = false;
    Storia m_corpo;
    Storia m_intestazione;
    Storia m_piede;
    QHash<int, QString> m_font;
    int m_fontPredefinito = 0;
    int m_numeroFont = 0;
    QString m_nomeFont;
    QList<QColor> m_colori;
    QColor m_coloreInCorso = QColor(0, 0, 0);
    DefinizioneCella m_cellaInCorso;
    QString m_segnalibro;
};

} // namespace

bool leggiRtf(QByteArrayView rtf, PageContent &pagina, QString *errore)
{
    try {
        RtfReader(rtf, pagina).leggi();
        return true;
    } catch (const ErroreRtf &e) {
        if (errore)
            *errore = e.motivo;
        return false;
    }
}

} // namespace kx
