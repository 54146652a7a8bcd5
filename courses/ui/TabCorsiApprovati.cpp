#include "courses/ui/TabCorsiApprovati.h"

#include "applications/ui/SceltaTabella.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/CourseEditorState.h"
#include "courses/CorsoRiferimento.h"
#include "ui_TabCorsiApprovati.h"

#include <QGuiApplication>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString Comando = u"QryCorsiApprovati"_s;

/** One column of the grid: its field, its caption where it is not the field's name, its width in twips
 * (0: hidden) and its cells' alignment. */
struct Colonna
{
    QString campo;
    std::optional<QString> intestazione;
    int larghezza = 0;
    Qt::Alignment allineamento = Qt::AlignLeft;
};

const QList<Colonna> &colonne()
{
    static const QList<Colonna> elenco{
        {u"IdAttivita"_s, {}, 900},
        {u"IdCorsoPrincipale"_s, {}},
        {u"GrupOpe"_s, {}, 700},
        {u"Operatore"_s, {}, 900},
        {u"ProgrAttivita"_s, u"Progr.Attività"_s, 1300, Qt::AlignHCenter},
        {u"AnnoInizio"_s, {}},
        {u"ProgrAccorp"_s, u"Progr.Accorp."_s, 1200, Qt::AlignHCenter},
        {u"CodDiret"_s, {}},
        {u"AnnGest"_s, {}},
        {u"DenCorso"_s, u"Denom. Corso"_s, 4500},
        {u"Componente"_s, u"Comp.Resp."_s, 1000, Qt::AlignRight},
        {u"CorsiCompo.Denominazione"_s, u""_s, 2400},
        {u"QryCompo.TipoCompo"_s, u"Tipo Comp."_s},
        {u"Descrizione"_s, {}},
        {u"QryCompo.CodComune"_s, {}},
        {u"QryCompo.QryComuniProv.Denominazione"_s, u"Comune"_s},
        {u"QryCompo.SIGPROV"_s, u"SiglaProv"_s},
        {u"QryCompo.Cap"_s, {}},
        {u"QryCompo.Indirizzo"_s, u"Indirizzo"_s},
        {u"SedeOcca"_s, u"Sede Occ."_s, 900, Qt::AlignRight},
        {u"CorsiSediOcc.Denominazione"_s, u""_s, 2000},
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
        {u"TotIter"_s, u"Tot. Ore Iter"_s, 1100},
        {u"Durata"_s, u"Durata Anni"_s, 1100},
        {u"Stato"_s, {}},
        {u"NumConv"_s, {}},
        {u"Conv_PT_IpAddress"_s, {}},
        {u"Conv_NumPratica"_s, {}},
        {u"NumPratica"_s, {}},
        {u"ProvviProgAtt"_s, u"Progr.Att. provvisorio"_s, 1900, Qt::AlignHCenter},
        {u"ProvviProgAcc"_s, {}},
        {u"Dom_NumPratica"_s, {}},
        {u"Dom_ChiaveUtente"_s, {}},
        {u"StatoAvanzamento"_s, {}},
        {u"PROV"_s, {}},
        {u"TipoConv"_s, u"Tipo Rapporto"_s, 1400, Qt::AlignHCenter},
    };
    return elenco;
}

const TestiScelta &testiTabCorsiApprovati()
{
    static const TestiScelta testi = [] {
        TestiScelta t;
        t.comando = Comando;
        t.campoRicerca = u"DenCorso"_s;
        t.confronto = ConfrontoRicerca::Contiene;
        t.cercaSoloConTesto = true;
        t.nonTrovato = u"Nessun corso trovato"_s;
        t.titoloNonTrovato = u"Ricerca Corso"_s;
        t.nessunaRiga = u"Selezionare un Corso nella griglia oppure Uscire"_s;
        for (const Colonna &colonna : colonne()) {
            t.campi.append(colonna.campo);
            t.intestazioni.append(colonna.intestazione.value_or(colonna.campo));
            t.larghezze.append(colonna.larghezza);
            t.allineamenti.append(colonna.allineamento);
        }
        return t;
    }();
    return testi;
}

void puntatoreNormale()
{
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

} // namespace

TabCorsiApprovati::TabCorsiApprovati(Context &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_ui(std::make_unique<Ui::TabCorsiApprovati>())
{
    m_ui->setupUi(this);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    runWithRetry(m_context, u"TabCorsiApprovati"_s, [this] {
        Recordset &rs = m_context.DE().rs(Comando);
        if (rs.isOpen())
            rs.close();
        rs.open();
        rs.setFilter(filtroCorsiApprovati(m_context.domanda(), m_context.corsi()));
        rs.setSort(OrdineCorsiApprovati);
    });
    m_scelta = new SceltaTabella(
        m_context, *this,
        {m_ui->GrdCorsi, m_ui->txtRicDenom, m_ui->cmdCerca2, m_ui->cmdSele2, m_ui->cmdEsci2},
        testiTabCorsiApprovati(),
        [this](const Recordset &rs) { m_context.corsi().CorsoApprovatoScelto = corsoApprovatoDaRiga(rs); });
    puntatoreNormale();
}

TabCorsiApprovati::~TabCorsiApprovati() = default;

void TabCorsiApprovati::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    const bool corsi = runWithRetry(m_context, u"TabCorsiApprovati"_s,
                                    [this] { return m_context.DE().rs(Comando).recordCount() > 0; });
    m_ui->cmdSele2->setEnabled(corsi);
    if (!corsi)
        m_context.prompt.warn(u"Corsi Approvati"_s,
                              u"Nessun Corso Approvato scaricato. Impossibile selezionarne uno"_s);
}

void TabCorsiApprovati::done(int result)
{
    Recordset &rs = m_context.DE().rs(Comando);
    if (rs.isOpen())
        rs.close();
    rs.clearFilter();
    QDialog::done(result);
}
