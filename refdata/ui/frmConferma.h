#pragma once

#include <QDialog>
#include <memory>

namespace kx {
class Context;
} // namespace kx

namespace Ui {
class frmConferma;
}

/**
 * The confirmation of an operator download: the operators of "oper.tx1", one line each, and the
 * user's e-mail address. CONFERMA with a valid address keeps it in the per-user settings and accepts;
 * ANNULLA deletes every ".tx1" file of the program folder and rejects.
 */
class frmConferma : public QDialog
{
    Q_OBJECT

public:
    explicit frmConferma(kx::Context &context, QWidget *parent = nullptr);
    ~frmConferma() override;

protected:
    void changeEvent(QEvent *event) override;
    /** Enter confirms wherever the focus is, as a default button CONFERMA would. */
    void keyPressEvent(QKeyEvent *event) override;

private:
    /** The heading's words over the list's columns. */
    void allineaIntestazione();
    void cmdConferma_Click();
    void cmdAnnulla_Click();

    kx::Context &m_context;
    std::unique_ptr<Ui::frmConferma> m_ui;
};
