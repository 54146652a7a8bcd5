#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

namespace kx {
class Context;
} // namespace kx

namespace Ui {
class frmBackup;
}

/**
 * The zip backup and restore of the database, on two tabs. While it is open the program's connection
 * is closed and the main window disabled; closing it opens the database again in the installation's
 * own mode (the restored one, after a restore), binds the commands to it and enables the main window.
 */
class frmBackup : public QWidget
{
    Q_OBJECT

public:
    /** Opens on the backup tab; `main`, when given, stays disabled until the window closes. */
    frmBackup(kx::Context &context, QWidget *main);
    ~frmBackup() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();
    void Form_Unload();
    void SSTab1_Click(int tab);
    void cmdSfogliaBak_Click();
    void cmdSfogliaZip_Click();
    void cmdConfermaBak_Click();
    void cmdConfermaZip_Click();

    kx::Context &m_context;
    QPointer<QWidget> m_main;
    std::unique_ptr<Ui::frmBackup> m_ui;
    /** Where the file choosers open, and the name they propose. */
    QString m_cartellaIniziale;
    QString m_nomeProposto;
    bool m_chiusa = false;
    /** A restore is reading its archive: the window answers but does not close. */
    bool m_occupata = false;
};

/**
 * The main window's backup command: shows frmBackup without waiting, the top-level window named
 * "Main" disabled meanwhile; while one is open, brings that one forward.
 */
std::function<void()> voceFrmBackup(kx::Context &context);
