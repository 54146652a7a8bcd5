#pragma once

#include <QDialog>
#include <memory>

namespace kx {
class Context;
} // namespace kx

namespace Ui {
class FrmProxy;
}

/**
 * The proxy of the user's own, or the system's settings: kept in the per-user settings Proxy and
 * Porta (both empty for the system's). Also tells how the computer reaches the Internet.
 */
class FrmProxy : public QDialog
{
    Q_OBJECT

public:
    explicit FrmProxy(kx::Context &context, QWidget *parent = nullptr);
    ~FrmProxy() override;

    /** True when the connection has any of the given NetworkStatus flags. */
    bool ControllaStato(int flag) const;

private:
    /** The two options were one control array: optProxy(0), the user's own proxy, and optProxy(1). */
    void optProxy_Click(int index);
    void ImgOk_Click();
    void CmdControlla_Click();

    kx::Context &m_context;
    std::unique_ptr<Ui::FrmProxy> m_ui;
};
