#pragma once

#include <QDialog>

namespace kx {
class Context;
class ImageButton;
} // namespace kx
class QLineEdit;

/**
 * Asks for the user's e-mail address, checks it and keeps it in the per-user settings. The caller
 * sets EMailValida to false, shows the window, and goes on only when EMailValida is true.
 */
class frmMailAggInst : public QDialog
{
    Q_OBJECT

public:
    explicit frmMailAggInst(kx::Context &context, QWidget *parent = nullptr);

private:
    void conferma();

    kx::Context &m_context;
    QLineEdit *m_txtEMail;
};
