#pragma once

#include "applications/SediInteressate.h"

#include <QDialog>
#include <memory>

class QAbstractButton;

namespace kx {
class Context;
} // namespace kx

namespace Ui {
class FrmEleSedi;
}

/**
 * "Elenco Sedi Interessate": one aligned line per seat of the current application, the seat the
 * caller shows preselected. Conferma (or a double click) hands the chosen code back in the caller's
 * SceltaSede; Annulla and the title bar leave it as the caller set it.
 */
class FrmEleSedi : public QDialog
{
    Q_OBJECT

public:
    /** `cmdVai` is the caller's jump button, released by Annulla. */
    FrmEleSedi(kx::Context &context, SceltaSede &scelta, QAbstractButton *cmdVai = nullptr,
               QWidget *parent = nullptr);
    ~FrmEleSedi() override;

private:
    void cmdSele2_Click();
    void cmdEsci2_Click();

    std::unique_ptr<Ui::FrmEleSedi> m_ui;
    kx::Context &m_context;
    SceltaSede &m_scelta;
    QAbstractButton *m_cmdVai;
};
