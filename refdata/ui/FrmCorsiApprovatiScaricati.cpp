#include "refdata/ui/FrmCorsiApprovatiScaricati.h"

#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/data/RecordsetModel.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/ui/Griglia.h"
#include "core/ui/HelpContext.h"
#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"
#include "refdata/ScaricoCorsiApprovati.h"
#include "ui_FrmCorsiApprovatiScaricati.h"

#include <QGuiApplication>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

constexpr int ArgomentoAiuto = 4000;

/** The grid's columns with the headings that differ from the column's name ("" for a blank one). */
const QList<std::pair<QString, std::optional<QString>>> &griglia()
{
    static const QList<std::pair<QString, std::optional<QString>>> colonne{
        {u"IdAttivita"_s, {}},
        {u"IdCorsoPrincipale"_s, {}},
        {u"CicloFin"_s, u"Ciclo Fin."_s},
        {u"GrupOpe"_s, {}},
        {u"Operatore"_s, {}},
        {u"ProgrAttivita"_s, u"Progr.Attività"_s},
        {u"AnnoInizio"_s, {}},
        {u"ProgrAccorp"_s, {}},
        {u"CodDiret"_s, {}},
        {u"AnnGest"_s, {}},
        {u"DenCorso"_s, u"Denom. Corso"_s},
        {u"Componente"_s, u"Comp.Resp."_s},
        {u"CorsiCompo.Denominazione"_s, u""_s},
        {u"QryCompo.TipoCompo"_s, u"Tipo Comp."_s},
        {u"Descrizione"_s, {}},
        {u"QryCompo.CodComune"_s, {}},
        {u"QryCompo.QryComuniProv.Denominazione"_s, u"Comune"_s},
        {u"QryCompo.SIGPROV"_s, u"SiglaProv"_s},
        {u"QryCompo.Cap"_s, {}},
        {u"QryCompo.Indirizzo"_s, u"Indirizzo"_s},
        {u"SedeOcca"_s, u"Sede Occ."_s},
        {u"CorsiSediOcc.Denominazione"_s, u""_s},
        {u"QrySediOccUtil.TipoCompo"_s, {}},
        {u"QrySediOccUtil.CodComune"_s, {}},
        {u"QrySediOccUtil.QryComuniProv.Denominazione"_s, {}},
        {u"QrySediOccUtil.SIGPROV"_s, {}},
        {u"QrySediOccUtil.Cap"_s, {}},
        {u"QrySediOccUtil.Indirizzo"_s, {}},
        {u"CodQualif"_s, {}},
        {u"CodObiettiv_Rif"_s, {}},
        {u"CodObiet"_s, {}},
        {u"CodAsse"_s, {}},
        {u"CodSubAsse"_s, {}},
        {u"LineaIntervento"_s, {}},
        {u"CodScol"_s, {}},
        {u"CodSetto"_s, {}},
        {u"AnnoSetto"_s, {}},
        {u"CodComp"_s, {}},
        {u"AnnoComp"_s, {}},
        {u"CodPerc"_s, {}},
        {u"CodOra"_s, {}},
        {u"CodCert"_s, {}},
        {u"DurataAnnOre"_s, u"Ore Annuali"_s},
        {u"NumAll"_s, {}},
        {u"TotIter"_s, u"Tot. Ore Iter"_s},
        {u"Durata"_s, u"Durata Anni"_s},
        {u"Stato"_s, {}},
        {u"TipoConv"_s, {}},
        {u"NumConv"_s, {}},
        {u"Conv_PT_IpAddress"_s, {}},
        {u"Conv_NumPratica"_s, {}},
        {u"NumPratica"_s, {}},
        {u"ProvviProgAtt"_s, u"Progr.Att. provvisorio"_s},
        {u"ProvviProgAcc"_s, {}},
        {u"Dom_NumPratica"_s, {}},
        {u"Dom_ChiaveUtente"_s, {}},
        {u"StatoAvanzamento"_s, {}},
        {u"PROV"_s, {}},
    };
    return colonne;
}

} // namespace

const QStringList &FrmCorsiApprovatiScaricati::colonne()
{
    static const QStringList nomi = [] {
        QStringList result;
        for (const auto &[colonna, intestazione] : griglia())
            result.append(colonna);
        return result;
    }();
    return nomi;
}

const QStringList &FrmCorsiApprovatiScaricati::intestazioni()
{
    static const QStringList testi = [] {
        QStringList result;
        for (const auto &[colonna, intestazione] : griglia())
            result.append(intestazione.value_or(colonna));
        return result;
    }();
    return testi;
}

FrmCorsiApprovatiScaricati::FrmCorsiApprovatiScaricati(Context &context, const StatoScaricoCorsi &stato,
                                                       QWidget *parent)
    : QDialog(parent), m_context(context), m_stato(stato),
      m_ui(std::make_unique<Ui::FrmCorsiApprovatiScaricati>())
{
    m_ui->setupUi(this);
    Immagini::setBackground(this);
    connect(m_ui->cmdEsci2, &ImageButton::clicked, this, &QDialog::reject);
    Form_Load();
}

FrmCorsiApprovatiScaricati::~FrmCorsiApprovatiScaricati()
{
    // The grid lets go of its model before the model goes.
    m_ui->GrdCorsi->setModel(nullptr);
}

void FrmCorsiApprovatiScaricati::mostra(Context &context, const StatoScaricoCorsi &stato)
{
    FrmCorsiApprovatiScaricati finestra(context, stato);
    context.dialogRunner.run(finestra);
}

void FrmCorsiApprovatiScaricati::Form_Load()
{
    setHelpContext(m_context, this, ArgomentoAiuto);
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
    // The operator's values are bound, never written into the text of the query.
    runWithRetry(m_context, u"FrmCorsiApprovatiScaricati_Load"_s, [this] {
        auto recordset = std::make_unique<Recordset>(m_context.DE().CorsiDB());
        recordset->open(u"SELECT * FROM QryCorsiApprovati WHERE GrupOpe = ? AND Operatore = ?"_s,
                        {m_stato.GrupOpeScarico, m_stato.OperatoreScarico});
        auto modello =
            std::make_unique<RecordsetModel>(*recordset, m_context.prompt, colonne(), intestazioni());
        m_ui->GrdCorsi->setModel(modello.get());
        impostaGriglia(*m_ui->GrdCorsi);
        m_ui->GrdCorsi->resizeColumnsToContents();
        m_modello = std::move(modello);
        m_rsQryCorsiApprovati = std::move(recordset);
    });
}
