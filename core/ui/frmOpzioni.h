#pragma once

#include "core/config/IniFile.h"

#include <QDialog>
#include <memory>

namespace kx {
class Context;
} // namespace kx

namespace Ui {
class frmOpzioni;
}

/**
 * The options window: installation type and database (INI file, taking effect at the next start),
 * e-mail address and mail server of the user, mouse-over effects of the main window.
 */
class frmOpzioni : public QDialog
{
    Q_OBJECT

public:
    explicit frmOpzioni(kx::Context &context, QWidget *parent = nullptr);
    ~frmOpzioni() override;

    /** Annulla, Escape and the close button: asks about unsaved changes first. */
    void reject() override;

private:
    void carica();
    /** True when the window closed after saving. */
    bool SalvaOpzioni();
    /** Every check before anything is written; false after saying what is wrong. */
    bool controllaTutto();

    void cmdSfoglia_Click();
    /** The installation type or the database changed. */
    void installazione_Change();
    /** The e-mail address, the own mail server or an effect changed. */
    void preferenze_Change();
    /** One of the mail server options was selected or left. */
    void serverPosta_Change(bool selected);

    kx::Context &m_context;
    std::unique_ptr<Ui::frmOpzioni> m_ui;
    clsFileINI m_ini;
    bool m_modificheEffettuate = false;
    bool m_installazioneModificata = false;
};
