#include "core/ui/HelpViewer.h"

#include <QApplication>
#include <QDialog>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kx {

HelpViewer::~HelpViewer()
{
    delete m_window;
}

void HelpViewer::showTopic(const QString &helpFile, int topic)
{
    // A modal dialog blocks every window but its own: help asked from one must belong to it to be
    // read and closed, and it then shows above it. It goes with the dialog when that is destroyed.
    QWidget *const owner = QApplication::activeModalWidget();
    if (m_window && m_window->parentWidget() != owner) {
        delete m_window;
        m_window = nullptr;
    }
    if (!m_window) {
        m_window = new QDialog(owner, Qt::Window);
        m_window->setObjectName(u"Aiuto"_s);
        m_window->setWindowTitle(u"Guida in linea"_s);
        m_window->resize(640, 520);
        m_browser = new QTextBrowser(m_window);
        m_browser->setOpenExternalLinks(true);
        auto *layout = new QVBoxLayout(m_window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_browser);
    }
    QUrl url = QUrl::fromLocalFile(helpFile);
    url.setFragment(QString::number(topic));
    m_browser->setSource(url);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

} // namespace kx
