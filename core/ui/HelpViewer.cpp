#include "core/ui/HelpViewer.h"

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
    if (!m_window) {
        m_window = new QDialog(nullptr, Qt::Window);
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
