#pragma once

#include <QDialog>

namespace kx {
class Context;
} // namespace kx
class QLineEdit;
class QRadioButton;

/**
 * The proxy of the user's own, or the system's settings: kept in the per-user settings Proxy and
 * Porta (both empty for the system's). Also tells how the computer reaches the Internet.
 */
class FrmProxy : public QDialog
{
    Q_OBJECT

public:
    explicit FrmProxy(kx::Context &context, QWidget *parent = nullptr);

    /** True when the connection has any of the given NetworkStatus flags. */
    bool ControllaStato(int flag) const;

private:
    void usaProxyProprio(bool own);
    void salva();
    void analizzaConnessione();

    kx::Context &m_context;
    QRadioButton *m_optProxyProprio;
    QRadioButton *m_optProxyWindows;
    QLineEdit *m_txtproxy;
    QLineEdit *m_TxtPorta;
};
