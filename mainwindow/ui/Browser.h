#pragma once

#include <QWidget>
#include <functional>
#include <memory>

namespace kx {
class Context;
} // namespace kx

namespace Ui {
class Browser;
}

/**
 * The assistance request: on "Accedi" the database is archived in the program folder and the help
 * desk's upload page opens in the user's browser, with the user's, the program's and the computer's
 * details in its address; the archive's path stays in the window, for the user to attach it.
 */
class Browser : public QWidget
{
    Q_OBJECT

public:
    explicit Browser(kx::Context &context);
    ~Browser() override;

    /**
     * The opening: without the INI file in the program folder the program ends; otherwise the
     * computer is described and the user invited to go on.
     */
    void Form_Load();

private:
    void Command2_Click();

    kx::Context &m_context;
    std::unique_ptr<Ui::Browser> m_ui;
    QString m_sistema;
    QString m_browser;
};

/** The main window's assistance command: shows Browser without waiting, or brings forward the one open. */
std::function<void()> voceBrowser(kx::Context &context);
