#pragma once

#include "core/services/Services.h"
#include "document/PageContent.h"

#include <QList>
#include <QString>
#include <QTextCursor>
#include <memory>
#include <vector>

namespace kx {

/**
 * A page opened from its template, as the word processor held it: the content, the selection in the
 * body (a position), and the template's placeholders. The placeholders ("<name>") are found when the
 * page opens and kept as tracked places, so that text a fill inserts is never taken for one.
 */
class PageDocument
{
public:
    /** Opens the template at `path` (errors 53, 75, 5 as `caricaModello`). */
    explicit PageDocument(const QString &path);

    PageContent &content() { return m_content; }
    const PageContent &content() const { return m_content; }

    /** The selection of the body, collapsed: a position in the body document. */
    int cursorPosition() const { return m_cursor; }
    void setCursorPosition(int position) { m_cursor = position; }

    /**
     * The first placeholder with this exact text from the selection on, wrapping to the start of the
     * body, taken out of the tracked ones and returned as a cursor that selects it; a null cursor when
     * the page holds no such placeholder (any more).
     */
    QTextCursor prendiSegnaposto(const QString &testo);
    /** Where the next placeholder with this text starts, searching as above, or -1. */
    int prossimoSegnaposto(const QString &testo) const;
    /** The placeholders still to fill, in the order of the page. */
    QStringList segnaposti() const;

    /** The bookmarks (the template's anchors), in the order of the page, each once. */
    QStringList bookmarks() const;
    int bookmarkCount() const { return int(bookmarks().size()); }
    /** Removes the first bookmark; with none, error 5 (as the word processor's index out of range). */
    void deleteFirstBookmark();

private:
    struct Segnaposto
    {
        QString testo;
        QTextCursor inizio;
    };
    int trova(const QString &testo) const;

    PageContent m_content;
    int m_cursor = 0;
    std::vector<Segnaposto> m_segnaposti;
};

/**
 * The engine of a print run, in place of the word processor the program once drove: started at the
 * start of a run, quit at its end or by a cancel. Every page operation on an engine that is not
 * running fails with error 91, which is how the pages of a cancelled run end.
 */
class PageEngine
{
public:
    /** The services give the debug mode and its boxes. */
    explicit PageEngine(const Services &services) : m_services(services) {}

    void start();
    /** Closes every page without saving and stops; on an engine that is not running, error 91. */
    void quit();
    bool running() const { return m_running; }

    /** Opens a template file as the active page. */
    PageDocument &open(const QString &path);
    /** The page opened last; error 91 when not running or no page is open. */
    PageDocument &activeDocument();
    /** Closes every open page without saving; the template files never change. */
    void closeAll();

    const Services &services() const { return m_services; }

private:
    void verificaAvviato() const;

    Services m_services;
    bool m_running = false;
    std::vector<std::unique_ptr<PageDocument>> m_documenti;
};

} // namespace kx
