#pragma once

#include <QDialog>
#include <QStringList>
#include <memory>

namespace kx {
class Context;
class Recordset;
class RecordsetModel;
struct StatoScaricoCorsi;
} // namespace kx

namespace Ui {
class FrmCorsiApprovatiScaricati;
}

/**
 * The approved courses held for the operator of the last download, with their responsible component
 * and occasional seat, in a read-only grid. The rows are read when the window opens.
 */
class FrmCorsiApprovatiScaricati : public QDialog
{
    Q_OBJECT

public:
    FrmCorsiApprovatiScaricati(kx::Context &context, const kx::StatoScaricoCorsi &stato,
                               QWidget *parent = nullptr);
    ~FrmCorsiApprovatiScaricati() override;

    /** Shows the window modally and returns when it has closed. */
    static void mostra(kx::Context &context, const kx::StatoScaricoCorsi &stato);

    /** The grid's columns, left to right, and their headings. */
    static const QStringList &colonne();
    static const QStringList &intestazioni();

private:
    void Form_Load();

    kx::Context &m_context;
    const kx::StatoScaricoCorsi &m_stato;
    std::unique_ptr<Ui::FrmCorsiApprovatiScaricati> m_ui;
    std::unique_ptr<kx::Recordset> m_rsQryCorsiApprovati;
    std::unique_ptr<kx::RecordsetModel> m_modello;
};
