#include "courses/ui/Riass.h"

#include "core/data/DataEnvironment.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/HelpTopics.h"
#include "core/state/ResponsabileSpostamento.h"
#include "core/ui/HelpContext.h"
#include "core/ui/Immagini.h"
#include "core/ui/ListaSelezione.h"
#include "core/ui/Puntatore.h"
#include "courses/CourseRecord.h"
#include "courses/Riassegnazione.h"
#include "courses/ui/CompoRes.h"
#include "ui_Riass.h"

#include <QComboBox>
#include <QGuiApplication>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

constexpr int ArgomentoAiuto = 23000;
const QString Titolo = u"Riassegnazione Corsi"_s;
const QString CrLf = u"\r\n"_s;

/** Where an entry keeps its seat code and whether the seat is an occasional one. */
constexpr int RuoloCodice = Qt::UserRole;
constexpr int RuoloOccasionale = Qt::UserRole + 1;

/** Adds the empty entry, then one entry per seat carrying its code and kind. */
void riempiSedi(ListaSelezione &lista, const QList<SedeRiassegnazione> &sedi)
{
    lista.svuota();
    lista.riempi({QString()});
    for (const SedeRiassegnazione &sede : sedi) {
        lista.riempi({sede.voce});
        const int indice = lista.conteggio() - 1;
        lista.lista()->setItemData(indice, sede.codice, RuoloCodice);
        lista.lista()->setItemData(indice, sede.occasionale(), RuoloOccasionale);
    }
}

/** True when the list shows its empty entry (or nothing at all). */
bool sceltaVuota(const ListaSelezione &lista)
{
    return lista.indice() <= 0;
}

qint32 codiceScelto(const ListaSelezione &lista)
{
    return lista.lista()->currentData(RuoloCodice).toInt();
}

} // namespace

Riass::Riass(Context &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_ui(std::make_unique<Ui::Riass>())
{
    m_ui->setupUi(this);
    Immagini::setBackground(this);
    setHelpContext(m_context, this, ArgomentoAiuto);
    m_sediDa = new ListaSelezione(m_ui->cmbSedeDa,
                                  [this] { gestore(u"cmbSedeDa_Click"_s, &Riass::cmbSedeDa_Click); });
    m_corsi = new ListaSelezione(m_ui->cmbCorso, [] {});
    m_sediA = new ListaSelezione(m_ui->cmbSedeA, [] {});

    connect(m_ui->OpzTuttiCorsi, &QAbstractButton::clicked, this, &Riass::OpzTuttiCorsi_Click);
    connect(m_ui->OpzCorso, &QAbstractButton::clicked, this, &Riass::OpzCorso_Click);
    connect(m_ui->cmdConfer, &QAbstractButton::clicked, this,
            [this] { gestore(u"cmdConfer_Click"_s, &Riass::cmdConfer_Click); });
    connect(m_ui->cmdAnnul, &QAbstractButton::clicked, this, &QDialog::reject);
    connect(m_ui->cmdAiuto, &QAbstractButton::clicked, this,
            [this] { MostraAiuto(m_context, ArgomentoAiuto); });

    gestore(u"IniSedeDa"_s, &Riass::IniSedeDa);
    m_corsi->riempi({QString()});
    m_sediA->riempi({QString()});
}

Riass::~Riass() = default;

void Riass::apri(Context &context)
{
    Riass finestra(context);
    context.dialogRunner.run(finestra);
}

void Riass::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_primaAttivazione)
        return;
    m_primaAttivazione = false;
    m_sediDa->selezionaIndice(0);
    impostaTuttiCorsi();
}

void Riass::gestore(const QString &routine, void (Riass::*handler)())
{
    runWithRetry(m_context, routine, [this, handler] { (this->*handler)(); });
}

void Riass::IniSedeDa()
{
    riempiSedi(*m_sediDa, ::IniSedeDa(m_context.DE().CorsiDB(), m_context.domanda()));
}

void Riass::IniCorso()
{
    m_corsi->svuota();
    m_corsi->riempi({QString()});
    if (sceltaVuota(*m_sediDa))
        return;
    for (const CorsoRiassegnazione &corso :
         ::IniCorso(m_context.DE().CorsiDB(), m_context.domanda(), codiceScelto(*m_sediDa))) {
        m_corsi->riempi({corso.voce});
        m_ui->cmbCorso->setItemData(m_corsi->conteggio() - 1, corso.corso, RuoloCodice);
    }
}

void Riass::IniSedeA()
{
    if (sceltaVuota(*m_sediDa)) {
        m_sediA->svuota();
        m_sediA->riempi({QString()});
        return;
    }
    riempiSedi(*m_sediA, ::IniSedeA(m_context.DE().CorsiDB(), m_context.domanda(), codiceScelto(*m_sediDa)));
}

void Riass::cmbSedeDa_Click()
{
    IniCorso();
    m_corsi->selezionaIndice(0);
    IniSedeA();
    m_sediA->selezionaIndice(0);
}

void Riass::OpzTuttiCorsi_Click()
{
    m_corsi->selezionaIndice(0);
    m_ui->cmbCorso->setEnabled(false);
}

void Riass::OpzCorso_Click()
{
    m_ui->cmbCorso->setEnabled(true);
}

void Riass::impostaTuttiCorsi()
{
    m_ui->OpzTuttiCorsi->setChecked(true);
    OpzTuttiCorsi_Click();
}

void Riass::cmdConfer_Click()
{
    const auto verifica = [this](bool vuota, const QString &messaggio, QWidget *fuoco) {
        if (!vuota)
            return true;
        m_context.prompt.critical(Titolo, messaggio);
        fuoco->setFocus();
        return false;
    };
    if (!verifica(sceltaVuota(*m_sediDa), u"Selezionare la sede da cui spostare il/i corsi"_s,
                  m_ui->cmbSedeDa) ||
        !verifica(sceltaVuota(*m_sediA), u"Selezionare la sede su cui spostare il/i corsi"_s,
                  m_ui->cmbSedeA) ||
        !verifica(!m_ui->OpzTuttiCorsi->isChecked() && sceltaVuota(*m_corsi),
                  u"Selezionare il corso o i corsi da spostare"_s, m_ui->cmbCorso))
        return;
    SpostaCorsi(m_ui->OpzTuttiCorsi->isChecked() ? u"Tutti"_s : u"Uno"_s);
}

void Riass::SpostaCorsi(const QString &modo)
{
    Spostamento spostamento{codiceScelto(*m_sediDa), codiceScelto(*m_sediA), {}, 0};

    ResponsabileSpostamento &responsabile = m_context.responsabileSpostamento();
    if (m_ui->cmbSedeA->currentData(RuoloOccasionale).toBool()) {
        responsabile.CompoRespScelto = u"0"_s;
        responsabile.CompoRespConfermato = false;
        responsabile.SedeOccDestinazione = QString::number(spostamento.sedeA);
        CompoRes componente(m_context, this);
        m_context.dialogRunner.run(componente);
    } else {
        responsabile.CompoRespConfermato = true;
    }
    if (!responsabile.CompoRespConfermato)
        return;
    spostamento.compoRespScelto = static_cast<qint16>(responsabile.CompoRespScelto.toInt());

    if (modo == u"Uno"_s) {
        spostamento.corsi.append(m_ui->cmbCorso->currentData(RuoloCodice).toString());
    } else {
        for (int i = 1; i < m_corsi->conteggio(); ++i)
            spostamento.corsi.append(m_ui->cmbCorso->itemData(i, RuoloCodice).toString());
    }

    EsitoSpostamento esito;
    try {
        const PuntatoreOccupato occupato;
        esito = ::SpostaCorsi(m_context.DE().CorsiDB(), m_context.domanda(), spostamento);
    } catch (const std::exception &guasto) {
        m_context.prompt.critical(Titolo,
                                  testoErrore(comeErroreRoutine(guasto)) + CrLf + CrLf +
                                      u"Riassegnazione non effettuata: nessun corso è stato spostato."_s);
        return;
    }
    if (esito.codiciEsauriti) {
        m_context.prompt.critical(Titolo, TestoCodiciEsauriti);
        return;
    }
    m_context.prompt.inform(Titolo, u"RIASSEGNAZIONE EFFETTUATA."_s);

    IniSedeDa();
    m_sediDa->selezionaIndice(0);
    impostaTuttiCorsi();
}
