#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frmMailAggAlbis2;
}

/**
 * The login with another browser: shows the login page's address to copy, and takes back the text
 * the identity service answered. Confirming sets the token to the reply's token, or empties it when
 * the reply is not a positive one; closing the window any other way leaves the token as it was.
 */
class frmMailAggAlbis2 : public QDialog
{
    Q_OBJECT

public:
    frmMailAggAlbis2(const QString &indirizzoLogin, QString &IdAlbis, QWidget *parent = nullptr);
    ~frmMailAggAlbis2() override;

private:
    void imgConferma_Click();

    QString &m_IdAlbis;
    std::unique_ptr<Ui::frmMailAggAlbis2> m_ui;
};
