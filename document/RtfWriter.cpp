#include "document/RtfWriter.h"

#include "core/text/Cp1252.h"
#include "document/PageContent.h"

#include <QColor>
#include <QSet>
#include <QTextBlock>
#include <QTextFrame>
#include <QTextTable>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

int twips(qreal punti)
{
    return qRound(punti * 20);
}

class RtfWriter
{
public:
    RtfWriter(const PageContent &pagina) : m_pagina(pagina)
    {
        indiceFont(pagina.body->defaultFont().family());
    }

    QByteArray scrivi()
    {
        const PageSetup &s = m_pagina.setup;
        QByteArray header = storia(*m_pagina.header);
        QByteArray footer = storia(*m_pagina.footer);
        QByteArray body = storia(*m_pagina.body);

        QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
        for (int i = 0; i < m_font.size(); ++i)
            rtf += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 " + testo(m_font[i]) + ";}";
        rtf += "}\n{\\colortbl;";
        for (const QColor &colore : m_colori)
            rtf += "\\red" + QByteArray::number(colore.red()) + "\\green" +
                   QByteArray::number(colore.green()) + "\\blue" + QByteArray::number(colore.blue()) + ';';
        rtf += "}\n\\paperw" + QByteArray::number(s.paperWidth) + "\\paperh" +
               QByteArray::number(s.paperHeight) + "\\margl" + QByteArray::number(s.marginLeft) + "\\margr" +
               QByteArray::number(s.marginRight) + "\\margt" + QByteArray::number(s.marginTop) + "\\margb" +
               QByteArray::number(s.marginBottom) + "\\headery" + QByteArray::number(s.headerY) +
               "\\footery" + QByteArray::number(s.footerY) + '\n';
        rtf += "{\\header " + header + "}\n{\\footer " + footer + "}\n" + body + "}\n";
        return rtf;
    }

private:
    int indiceFont(const QString &famiglia)
    {
        int i = int(m_font.indexOf(famiglia));
        if (i < 0) {
            i = int(m_font.size());
            m_font.append(famiglia);
        }
        return i;
    }

    int indiceColore(const QColor &colore)
    {
        int i = int(m_colori.indexOf(colore));
        if (i < 0) {
            i = int(m_colori.size());
            m_colori.append(colore);
        }
        return i + 1;
    }

    static QByteArray testo(const QString &stringa)
    {
        QByteArray out;
        for (const QChar c : stringa) {
            const char16_t u = c.unicode();
            if (u == u'\\' || u == u'{' || u == u'}') {
                out += '\\';
                out += char(u);
            } else if (u == u'\t') {
                out += "\\tab ";
            } else if (u == QChar::LineSeparator) {
                out += "\\line ";
            } else if (u == QChar::Nbsp) {
                out += "\\~";
            } else if (u >= 0x20 && u < 0x80) {
                out += char(u);
            } else if (u < 0x20 || u == QChar::ObjectReplacementCharacter) {
                continue;
            } else if (Cp1252::canEncode(QStringView(&c, 1))) {
                out += "\\'" + Cp1252::encode(QStringView(&c, 1)).toHex();
            } else {
                out += "\\u" + QByteArray::number(qint16(u)) + '?';
            }
        }
        return out;
    }

    QByteArray storia(const QTextDocument &documento)
    {
        m_documento = &documento;
        m_aperti.clear();
        QByteArray out;
        const QTextFrame *radice = documento.rootFrame();
        for (auto it = radice->begin(); !it.atEnd(); ++it) {
            if (QTextFrame *frame = it.currentFrame()) {
                if (auto *tabella = qobject_cast<QTextTable *>(frame))
                    out += this->tabella(*tabella);
                else
                    for (auto interno = frame->begin(); !interno.atEnd(); ++interno)
                        if (interno.currentBlock().isValid())
                            out += paragrafo(interno.currentBlock(), false) + "\\par\n";
                continue;
            }
            const QTextBlock block = it.currentBlock();
            out += paragrafo(block, false);
            auto dopo = it;
            ++dopo;
            if (!dopo.atEnd())
                out += "\\par\n";
        }
        out += chiudiSegnalibri({});
        return out;
    }

    QByteArray chiudiSegnalibri(const QStringList &restano)
    {
        QByteArray out;
        for (auto it = m_aperti.begin(); it != m_aperti.end();) {
            if (restano.contains(*it)) {
                ++it;
                continue;
            }
            out += "{\\*\\bkmkend " + testo(*it) + '}';
            it = m_aperti.erase(it);
        }
        return out;
    }

    QByteArray paragrafo(const QTextBlock &block, bool inTabella)
    {
        const QTextBlockFormat f = block.blockFormat();
        QByteArray out = "\\pard\\plain";
        if (inTabella)
            out += "\\intbl";
        const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
        out += a & Qt::AlignHCenter   ? "\\qc"
               : a & Qt::AlignRight   ? "\\qr"
               : a & Qt::AlignJustify ? "\\qj"
                                      : "\\ql";
        if (f.topMargin() > 0)
            out += "\\sb" + QByteArray::number(twips(f.topMargin()));
        if (f.bottomMargin() > 0)
            out += "\\sa" + QByteArray::number(twips(f.bottomMargin()));
        if (f.leftMargin() > 0)
            out += "\\li" + QByteArray::number(twips(f.leftMargin()));
        if (f.rightMargin() > 0)
            out += "\\ri" + QByteArray::number(twips(f.rightMargin()));
        if (f.textIndent() != 0)
            out += "\\fi" + QByteArray::number(twips(f.textIndent()));
        if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            out += "\\pagebb";
        out += ' ';
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QStringList nomi = fragment.charFormat().anchorNames();
            out += chiudiSegnalibri(nomi);
            for (const QString &nome : nomi)
                if (!m_aperti.contains(nome)) {
                    out += "{\\*\\bkmkstart " + testo(nome) + '}';
                    m_aperti.append(nome);
                }
            out += '{' + carattere(fragment.charFormat()) + ' ' + testo(fragment.text()) + '}';
        }
        if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter)
            out += "\\page ";
        return out;
    }

    QByteArray carattere(const QTextCharFormat &f)
    {
        const QFont predefinito = m_documento->defaultFont();
        const QStringList famiglie = f.fontFamilies().toStringList();
        const QString famiglia = famiglie.isEmpty() ? predefinito.family() : famiglie.first();
        qreal punti = f.fontPointSize();
        if (punti <= 0 && f.hasProperty(QTextFormat::FontPixelSize))
            punti = f.intProperty(QTextFormat::FontPixelSize);
        if (punti <= 0)
            punti = predefinito.pointSizeF();
        QByteArray out = "\\f" + QByteArray::number(indiceFont(famiglia)) + "\\fs" +
                         QByteArray::number(qMax(1, qRound(punti * 2)));
        if (f.fontWeight() >= QFont::DemiBold)
            out += "\\b";
        if (f.fontItalic())
            out += "\\i";
        if (f.fontUnderline())
            out += "\\ul";
        if (f.fontStrikeOut())
            out += "\\strike";
        if (f.foreground().style() != Qt::NoBrush)
            out += "\\cf" + QByteArray::number(indiceColore(f.foreground().color()));
        return out;
    }

    /** The right edges of the columns, in twips from the left margin. */
    QList<int> bordiColonne(const QTextTable &tabella) const
    {
        const QTextTableFormat f = tabella.format();
        const int larghezzaTesto = m_pagina.setup.textWidth();
        int larghezza = larghezzaTesto;
        if (f.width().type() == QTextLength::PercentageLength)
            larghezza = qRound(larghezzaTesto * f.width().rawValue() / 100);
        else if (f.width().type() == QTextLength::FixedLength)
            larghezza = twips(f.width().rawValue());
        const int colonne = tabella.columns();
        QList<QTextLength> vincoli = f.columnWidthConstraints();
        vincoli.resize(colonne);
        QList<int> larghezze(colonne, -1);
        int occupata = 0;
        int variabili = 0;
        for (int c = 0; c < colonne; ++c) {
            if (vincoli[c].type() == QTextLength::PercentageLength)
                larghezze[c] = qRound(larghezza * vincoli[c].rawValue() / 100);
            else if (vincoli[c].type() == QTextLength::FixedLength)
                larghezze[c] = twips(vincoli[c].rawValue());
            if (larghezze[c] >= 0)
                occupata += larghezze[c];
            else
                ++variabili;
        }
        const int resto = variabili ? qMax(0, larghezza - occupata) / variabili : 0;
        QList<int> bordi;
        int x = 0;
        for (int c = 0; c < colonne; ++c) {
            x += qMax(larghezze[c] >= 0 ? larghezze[c] : resto, 1);
            bordi.append(x);
        }
        return bordi;
    }

    QByteArray tabella(const QTextTable &tabella)
    {
        const QTextTableFormat f = tabella.format();
        const QList<int> bordi = bordiColonne(tabella);
        QByteArray bordo;
        if (f.border() > 0 && f.borderStyle() != QTextFrameFormat::BorderStyle_None) {
            const QByteArray spessore = "\\brdrs\\brdrw" + QByteArray::number(qMax(1, twips(f.border())));
            for (const char *lato : {"\\clbrdrt", "\\clbrdrl", "\\clbrdrb", "\\clbrdrr"})
                bordo += lato + spessore;
        }
        QByteArray out;
        for (int r = 0; r < tabella.rows(); ++r) {
            out += "\\trowd\\trgaph" + QByteArray::number(twips(f.cellPadding())) + "\\trleft0";
            QByteArray celle;
            for (int c = 0; c < tabella.columns();) {
                const QTextTableCell cella = tabella.cellAt(r, c);
                if (!cella.isValid())
                    break;
                const int ultima = qMax(c, cella.column() + cella.columnSpan() - 1);
                if (cella.rowSpan() > 1)
                    out += cella.row() == r ? "\\clvmgf" : "\\clvmrg";
                out += bordo;
                const QBrush sfondo = cella.format().background();
                if (sfondo.style() != Qt::NoBrush)
                    out += "\\clcbpat" + QByteArray::number(indiceColore(sfondo.color()));
                out += "\\cellx" + QByteArray::number(bordi[ultima]);
                if (cella.row() == r) {
                    bool primo = true;
                    for (auto it = cella.begin(); !it.atEnd(); ++it) {
                        const QTextBlock block = it.currentBlock();
                        if (!block.isValid())
                            continue;
                        if (!primo)
                            celle += "\\par ";
                        celle += paragrafo(block, true);
                        primo = false;
                    }
                    if (primo)
                        celle += "\\pard\\plain\\intbl ";
                } else {
                    celle += "\\pard\\plain\\intbl ";
                }
                celle += "\\cell\n";
                c = ultima + 1;
            }
            out += '\n' + celle + "\\row\n";
        }
        return out;
    }

    const PageContent &m_pagina;
    const QTextDocument *m_documento = nullptr;
    QStringList m_font;
    QList<QColor> m_colori;
    QStringList m_aperti;
};

} // namespace

QByteArray scriviRtf(const PageContent &pagina)
{
    return RtfWriter(pagina).scrivi();
}

} // namespace kx
