#pragma once

#include <QDialog>

class Context;
class ImageButton;
class QLineEdit;

/**
 * Asks for the user's e-mail address, checks it and keeps it in the per-user settings. The caller
 * sets EMailValida to false, shows the window, and goes on only when EMailValida is true.
 */
class frmMailAggInst : public QDialog
{
    Q_OBJECT

public:
    explicit frmMailAggInst(Context &context, QWidget *parent = nullptr);

private:
    void conferma();

    Context &m_context;
    QLineEdit *m_txtEMail;
};
