#include "document/PageEngine.h"

#include "core/services/RoutineError.h"
#include "document/PageTemplate.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

/** Calls `visita` with each fragment of the document, tables' cells included, in reading order. */
template<typename Visita> void perOgniFrammento(const QTextDocument &documento, Visita &&visita)
{
    for (QTextBlock block = documento.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().isValid())
                visita(it.fragment());
}

} // namespace

PageDocument::PageDocument(const QString &path)
{
    caricaModello(path, m_content);
    static const QRegularExpression segnaposto(u"<[^<>\\s]+>"_s);
    QTextDocument &body = *m_content.body;
    const QString testo = body.toRawText();
    for (auto it = segnaposto.globalMatch(testo); it.hasNext();) {
        const auto match = it.next();
        QTextCursor inizio(&body);
        inizio.setPosition(match.capturedStart());
        m_segnaposti.push_back({match.captured(), inizio});
    }
}

int PageDocument::trova(const QString &testo) const
{
    int primo = -1;
    int dopoCursore = -1;
    for (int i = 0; i < int(m_segnaposti.size()); ++i) {
        if (m_segnaposti[i].testo != testo)
            continue;
        const int posizione = m_segnaposti[i].inizio.position();
        if (primo < 0 || posizione < m_segnaposti[primo].inizio.position())
            primo = i;
        if (posizione >= m_cursor &&
            (dopoCursore < 0 || posizione < m_segnaposti[dopoCursore].inizio.position()))
            dopoCursore = i;
    }
    return dopoCursore >= 0 ? dopoCursore : primo;
}

QTextCursor PageDocument::prendiSegnaposto(const QString &testo)
{
    const int i = trova(testo);
    if (i < 0)
        return {};
    QTextCursor selezione = m_segnaposti[i].inizio;
    selezione.setPosition(selezione.position() + int(testo.size()), QTextCursor::KeepAnchor);
    m_segnaposti.erase(m_segnaposti.begin() + i);
    return selezione;
}

int PageDocument::prossimoSegnaposto(const QString &testo) const
{
    const int i = trova(testo);
    return i < 0 ? -1 : m_segnaposti[i].inizio.position();
}

QStringList PageDocument::segnaposti() const
{
    auto ordinati = m_segnaposti;
    std::sort(ordinati.begin(), ordinati.end(), [](const Segnaposto &a, const Segnaposto &b) {
        return a.inizio.position() < b.inizio.position();
    });
    QStringList testi;
    for (const auto &s : ordinati)
        testi.append(s.testo);
    return testi;
}

QStringList PageDocument::bookmarks() const
{
    QStringList nomi;
    perOgniFrammento(*m_content.body, [&](const QTextFragment &fragment) {
        for (const QString &nome : fragment.charFormat().anchorNames())
            if (!nomi.contains(nome))
                nomi.append(nome);
    });
    return nomi;
}

void PageDocument::deleteFirstBookmark()
{
    const QStringList nomi = bookmarks();
    if (nomi.isEmpty())
        throw RoutineError(ErrorCode::InvalidProcedureCall);
    const QString &primo = nomi.first();
    QList<QPair<int, int>> tratti;
    perOgniFrammento(*m_content.body, [&](const QTextFragment &fragment) {
        if (fragment.charFormat().anchorNames().contains(primo))
            tratti.append({fragment.position(), fragment.length()});
    });
    for (const auto &[posizione, lunghezza] : tratti) {
        QTextCursor cursore(m_content.body.get());
        cursore.setPosition(posizione);
        cursore.setPosition(posizione + lunghezza, QTextCursor::KeepAnchor);
        QTextCharFormat formato = cursore.charFormat();
        QStringList restanti = formato.anchorNames();
        restanti.removeAll(primo);
        formato.setAnchorNames(restanti);
        formato.setAnchor(!restanti.isEmpty() || !formato.anchorHref().isEmpty());
        cursore.setCharFormat(formato);
    }
}

void PageEngine::start()
{
    m_documenti.clear();
    m_running = true;
}

void PageEngine::quit()
{
    verificaAvviato();
    m_documenti.clear();
    m_running = false;
}

void PageEngine::verificaAvviato() const
{
    if (!m_running)
        throw RoutineError(ErrorCode::ObjectNotSet);
}

PageDocument &PageEngine::open(const QString &path)
{
    verificaAvviato();
    m_documenti.push_back(std::make_unique<PageDocument>(path));
    return *m_documenti.back();
}

PageDocument &PageEngine::activeDocument()
{
    verificaAvviato();
    if (m_documenti.empty())
        throw RoutineError(ErrorCode::ObjectNotSet);
    return *m_documenti.back();
}

void PageEngine::closeAll()
{
    verificaAvviato();
    m_documenti.clear();
}

} // namespace kx
