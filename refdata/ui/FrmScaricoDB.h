#pragma once

#include "core/net/HttpTransfer.h"

#include <QDialog>
#include <memory>

namespace kx {
class Context;
struct StatoScaricoCorsi;
} // namespace kx

namespace Ui {
class FrmScaricoDB;
}

/**
 * The download of an operator's approved and financed courses: the user picks the operator, logs in
 * with the identity service (or reuses the token of an earlier alternative login), and the courses
 * arrive as "CorsiApprovati.tx1" in the program folder. The window closes itself after a download;
 * after a failure it stays open for another try.
 */
class FrmScaricoDB : public QDialog
{
    Q_OBJECT

public:
    FrmScaricoDB(kx::Context &context, kx::StatoScaricoCorsi &stato, QWidget *parent = nullptr);
    ~FrmScaricoDB() override;

    /** Shows the window modally and returns when it has closed. */
    static void mostra(kx::Context &context, kx::StatoScaricoCorsi &stato);

    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void IniComboOpe();
    void CmdConferma_Click();
    /** Leaves the window; while a login or a download runs, stops it instead. */
    void CmdEsci_Click();
    /** The identity-service login: the token, empty when none was obtained. */
    QString AutenticaAlbis();
    QString loginAlternativo(const QString &indirizzo);
    void statoTrasferimento(int state);
    /** While a login or a request runs, confirm is disabled and the window stays open. */
    void occupato(bool attivo);
    void concludiFallimento();

    kx::Context &m_context;
    kx::StatoScaricoCorsi &m_stato;
    /** The identity login, a small request, and the download, limited only by its pace. */
    kx::HttpTransfer m_login;
    kx::HttpTransfer m_transfer;
    std::unique_ptr<Ui::FrmScaricoDB> m_ui;
    bool m_occupato = false;
};

/**
 * The text of a page as a reader sees it: an HTML page's text without its markup (UTF-8, or
 * Windows-1252 when it is not valid UTF-8), any other body as it is.
 */
QString testoPagina(const QByteArray &body);
