#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>

namespace kx {
class Context;
} // namespace kx

namespace Ui {
class MDI_Main;
}

/**
 * The program's frame window. At each activation it closes the splash and shows the main window,
 * through the start-up hooks of the context.
 */
class MDI_Main : public QMainWindow
{
    Q_OBJECT

public:
    MDI_Main(kx::Context &context, std::function<void()> chiudiSplash, QWidget *parent = nullptr);
    ~MDI_Main() override;

    /**
     * What the frame does when it becomes active: closes the splash, then loads and shows the main
     * window. An error on the way is shown and ends the program.
     */
    void Form_Activate();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    /** The close box ends the program as the main window's "Esci" does. */
    void closeEvent(QCloseEvent *event) override;

private:
    /** Runs Form_Activate from the event loop, once however many events ask before it runs. */
    void attivaPiuTardi();

    kx::Context &m_context;
    std::unique_ptr<Ui::MDI_Main> m_ui;
    std::function<void()> m_chiudiSplash;
    bool m_attivazioneInAttesa = false;
    bool m_mostrata = false;
    /** The first show counts as the activation that the platform gives the window right after it. */
    bool m_attivazioneDellaComparsa = false;
};
