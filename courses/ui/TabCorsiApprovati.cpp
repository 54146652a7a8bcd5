#include "courses/ui/TabCorsiApprovati.h"

#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/CourseEditorState.h"
#include "core/ui/Puntatore.h"
#include "courses/CorsoRiferimento.h"
#include "ui_TabCorsiApprovati.h"

#include <QGuiApplication>
#include <QHash>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString Comando = u"QryCorsiApprovati"_s;

/** The grid's columns are the view's, in its order, less the cycle after them. */
constexpr int ColonneGriglia = 57;

/** The captions that are not the field's name. */
const QHash<QString, QString> &intestazioni()
{
    static const QHash<QString, QString> testi{
        {u"ProgrAttivita"_s, u"Progr.Attività"_s},
        {u"ProgrAccorp"_s, u"Progr.Accorp."_s},
        {u"DenCorso"_s, u"Denom. Corso"_s},
        {u"Componente"_s, u"Comp.Resp."_s},
        {u"CorsiCompo.Denominazione"_s, QString()},
        {u"QryCompo.TipoCompo"_s, u"Tipo Comp."_s},
        {u"QryCompo.QryComuniProv.Denominazione"_s, u"Comune"_s},
        {u"QryCompo.SIGPROV"_s, u"SiglaProv"_s},
        {u"QryCompo.Indirizzo"_s, u"Indirizzo"_s},
        {u"SedeOcca"_s, u"Sede Occ."_s},
        {u"CorsiSediOcc.Denominazione"_s, QString()},
        {u"DurataAnnOre"_s, u"Ore Annuali"_s},
        {u"TotIter"_s, u"Tot. Ore Iter"_s},
        {u"Durata"_s, u"Durata Anni"_s},
        {u"ProvviProgAtt"_s, u"Progr.Att. provvisorio"_s},
        {u"TipoConv"_s, u"Tipo Rapporto"_s},
    };
    return testi;
}

/** A shown column: its width in twips and its cells' alignment. */
struct Visibile
{
    int larghezza = 0;
    Qt::Alignment allineamento = Qt::AlignLeft;
};

/** The fourteen columns the grid shows; the others are hidden. */
const QHash<QString, Visibile> &visibili()
{
    static const QHash<QString, Visibile> colonne{
        {u"IdAttivita"_s, {900}},
        {u"GrupOpe"_s, {700}},
        {u"Operatore"_s, {900}},
        {u"ProgrAttivita"_s, {1300, Qt::AlignHCenter}},
        {u"ProgrAccorp"_s, {1200, Qt::AlignHCenter}},
        {u"DenCorso"_s, {4500}},
        {u"Componente"_s, {1000, Qt::AlignRight}},
        {u"CorsiCompo.Denominazione"_s, {2000}},
        {u"SedeOcca"_s, {900, Qt::AlignRight}},
        {u"CorsiSediOcc.Denominazione"_s, {1800}},
        {u"TotIter"_s, {1100}},
        {u"Durata"_s, {1100}},
        {u"ProvviProgAtt"_s, {1900, Qt::AlignHCenter}},
        {u"TipoConv"_s, {1400, Qt::AlignHCenter}},
    };
    return colonne;
}

/** The picker's texts; its columns are those of the open recordset. */
TestiScelta testiTabCorsiApprovati(const Recordset &rs)
{
    TestiScelta t;
    t.comando = Comando;
    t.campoRicerca = u"DenCorso"_s;
    t.confronto = ConfrontoRicerca::Contiene;
    t.cercaSoloConTesto = true;
    // Fourteen columns leave the name no room: it keeps its width and the grid scrolls.
    t.allargaRicerca = false;
    t.nonTrovato = u"Nessun corso trovato"_s;
    t.titoloNonTrovato = u"Ricerca Corso"_s;
    t.nessunaRiga = u"Selezionare un Corso nella griglia oppure Uscire"_s;
    for (int colonna = 0; colonna < ColonneGriglia; ++colonna) {
        const QString campo = rs.fieldName(colonna);
        const Visibile mostrata = visibili().value(campo);
        t.campi.append(campo);
        t.intestazioni.append(intestazioni().value(campo, campo));
        t.larghezze.append(mostrata.larghezza);
        t.allineamenti.append(mostrata.allineamento);
    }
    return t;
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
        m_testi = testiTabCorsiApprovati(rs);
    });
    m_scelta = new SceltaTabella(
        m_context, *this,
        {m_ui->GrdCorsi, m_ui->txtRicDenom, m_ui->cmdCerca2, m_ui->cmdSele2, m_ui->cmdEsci2}, m_testi,
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
