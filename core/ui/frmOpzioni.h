#pragma once

#include "core/config/IniFile.h"

#include <QDialog>

namespace kx {
class Context;
} // namespace kx
class QCheckBox;
class QLineEdit;
class QRadioButton;

/**
 * The options window: installation type and database (INI file, taking effect at the next start),
 * e-mail address and mail server of the user, mouse-over effects of the main window.
 */
class frmOpzioni : public QDialog
{
    Q_OBJECT

public:
    explicit frmOpzioni(kx::Context &context, QWidget *parent = nullptr);

    /** Annulla, Escape and the close button: asks about unsaved changes first. */
    void reject() override;

private:
    void carica();
    /** True when the window closed after saving. */
    bool SalvaOpzioni();
    /** Every check before anything is written; false after saying what is wrong. */
    bool controllaTutto();
    void sfoglia();
    void modificaInstallazione();

    kx::Context &m_context;
    clsFileINI m_ini;
    bool m_modificheEffettuate = false;
    bool m_installazioneModificata = false;

    QRadioButton *m_optLocale;
    QRadioButton *m_optMultiutenza;
    QLineEdit *m_txtDatabase;
    QLineEdit *m_txtEMail;
    QRadioButton *m_optServTUZ;
    QRadioButton *m_optServTUZINT;
    QRadioButton *m_optMioServ;
    QLineEdit *m_txtMioServ;
    QCheckBox *m_ckSottolinea;
    QCheckBox *m_ckAumenta;
    QCheckBox *m_ckCambia;
};
