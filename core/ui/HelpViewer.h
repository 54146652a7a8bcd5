#pragma once

#include "core/services/Services.h"

#include <QPointer>

class QDialog;
class QTextBrowser;

namespace kx {

/**
 * The program's help: an HTML help file in a window of its own, opened at the topic whose anchor is
 * the context number (<a name="15000">).
 */
class HelpViewer final : public Help
{
public:
    ~HelpViewer() override;
    void showTopic(const QString &helpFile, int topic) override;

private:
    QPointer<QDialog> m_window;
    QTextBrowser *m_browser = nullptr;
};

} // namespace kx
