#include "applications/ui/TabNaz.h"

#include "applications/ui/SceltaTabella.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/LuoghiScelti.h"
#include "core/ui/Immagini.h"
#include "ui_TabNaz.h"

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const TestiScelta &testiTabNaz()
{
    static const TestiScelta testi{
        .comando = u"StatiEsteri"_s,
        .campoRicerca = u"DenomStato"_s,
        .campi = {u"CodStato"_s, u"DenomStato"_s},
        .intestazioni = {u"Codice"_s, u"Deniminazione"_s},
        .larghezze = {900, 4155},
        .nonTrovato = u"Nessuno Stato trovato"_s,
        .titoloNonTrovato = u"Ricerca stato"_s,
        .nessunaRiga = u"Selezionare uno Stato Estero oppure Uscire"_s,
        .titoloNessunaRiga = u"Stati esteri"_s,
    };
    return testi;
}

} // namespace

TabNaz::TabNaz(Context &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_ui(std::make_unique<Ui::TabNaz>())
{
    m_ui->setupUi(this);
    Immagini::setBackground(this);
    // The rows stay open from one opening to the next, on the row where they were left.
    runWithRetry(m_context, QString(), [this] {
        Recordset &rs = m_context.DE().rs(u"StatiEsteri"_s);
        if (!rs.isOpen())
            rs.open();
    });
    m_scelta = new SceltaTabella(
        m_context, *this, {m_ui->GrdNaz, m_ui->txtRicNaz, m_ui->cmdCerca2, m_ui->cmdSele2, m_ui->cmdEsci2},
        testiTabNaz(), [this](const Recordset &rs) {
            m_context.luoghiScelti().StatoEsteroScelto = {rs.value(u"CodStato"_s).toString(),
                                                          rs.value(u"DenomStato"_s).toString()};
        });
}

TabNaz::~TabNaz() = default;
