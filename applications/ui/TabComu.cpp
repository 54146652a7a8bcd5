#include "applications/ui/TabComu.h"

#include "applications/ui/SceltaTabella.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/LuoghiScelti.h"
#include "ui_TabComu.h"

#include <QGuiApplication>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const TestiScelta &testiTabComu()
{
    static const TestiScelta testi{
        .comando = u"QryComuniProv"_s,
        .campoRicerca = u"Denominazione"_s,
        .campi = {u"CodComune"_s, u"Denominazione"_s, u"Cap"_s, u"SigProv"_s},
        .intestazioni = {u"Cod. Istat"_s, u"Denominazione"_s, u"CAP"_s, u"Prov"_s},
        .larghezze = {0, 2775, 1185, 390},
        .nonTrovato = u"Nessun comune trovato"_s,
        .titoloNonTrovato = u"Ricerca comune"_s,
        .nessunaRiga = u"Selezionare un comune oppure Uscire"_s,
        .titoloNessunaRiga = QString(),
    };
    return testi;
}

} // namespace

TabComu::TabComu(Context &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_ui(std::make_unique<Ui::TabComu>())
{
    m_ui->setupUi(this);
    runWithRetry(m_context, QString(), [this] {
        Recordset &rs = m_context.DE().rs(u"QryComuniProv"_s);
        rs.setSort(u"Denominazione"_s);
        if (!rs.isOpen())
            rs.open();
        rs.moveFirst();
    });
    m_scelta = new SceltaTabella(
        m_context, *this, {m_ui->GrdComu, m_ui->txtRicComu, m_ui->cmdCerca2, m_ui->cmdSele2, m_ui->cmdEsci2},
        testiTabComu(), [this](const Recordset &rs) {
            // The postal code and the province change places on the way out.
            m_context.luoghiScelti().ComuneScelto = {
                rs.value(u"CodComune"_s).toString(), rs.value(u"Denominazione"_s).toString(),
                rs.value(u"SigProv"_s).toString(), rs.value(u"Cap"_s).toString()};
        });
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

TabComu::~TabComu() = default;

void TabComu::done(int result)
{
    Recordset &rs = m_context.DE().rs(u"QryComuniProv"_s);
    if (rs.isOpen())
        rs.close();
    rs.clearFilter();
    QDialog::done(result);
}
