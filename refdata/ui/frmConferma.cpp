#include "refdata/ui/frmConferma.h"

#include "core/config/IniKeys.h"
#include "core/config/UserSettings.h"
#include "core/files/ProgramFolder.h"
#include "core/state/Context.h"
#include "core/state/Preferences.h"
#include "core/text/TextFile.h"
#include "core/ui/FieldRoutines.h"
#include "core/ui/Griglia.h"
#include "core/ui/HelpContext.h"
#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"
#include "refdata/ScaricoOperatori.h"
#include "ui_frmConferma.h"

#include <QApplication>
#include <QFontDatabase>
#include <QKeyEvent>
#include <limits>

using namespace Qt::StringLiterals;
using namespace kx;

frmConferma::frmConferma(Context &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_ui(std::make_unique<Ui::frmConferma>())
{
    m_ui->setupUi(this);
    setHelpContext(context, this, 15000);
    Immagini::setBackground(this);
    m_ui->Label3->setText(ScaricoOperatori::IntestazioneConferma);
    allineaIntestazione();
    m_ui->txtEMail->setText(context.userSettings().value(UserKeys::EMail, u"Indirizzo e-mail..."_s));

    QStringList records;
    try {
        records = TextFile::readLines(context.programFolder().resolve(u"Oper.tx1"_s));
    } catch (const RoutineError &) {
        // No operator file, no lines: the user can only cancel.
    }
    for (const QString &record : std::as_const(records))
        m_ui->Lista->addItem(ScaricoOperatori::rigaConferma(record));

    connect(m_ui->cmdConferma, &ImageButton::clicked, this, &frmConferma::cmdConferma_Click);
    connect(m_ui->cmdAnnulla, &ImageButton::clicked, this, &frmConferma::cmdAnnulla_Click);
}

frmConferma::~frmConferma() = default;

void frmConferma::allineaIntestazione()
{
    // The heading's words begin at its characters 1, 14 and 34, the lines' columns at 0, 10 and 24:
    // the heading takes a fixed font about 10/14 of the list's, the pair of sizes and the shift that
    // put each word closest over its column (the fonts' hinting moves the widths in steps).
    const QFont fisso = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const std::pair<int, int> parole[] = {{1, 0}, {14, 10}, {34, 24}};
    const int inizio = inizioTestoVoci(*m_ui->Lista);
    struct Scelta
    {
        qreal lista = 10;
        qreal intestazione = 7;
        qreal spostamento = 0;
        qreal scarto = std::numeric_limits<qreal>::max();
    } scelta;
    for (qreal puntiLista = 9; puntiLista <= 11; puntiLista += 0.5) {
        QFont lista = fisso;
        lista.setPointSizeF(puntiLista);
        const QFontMetricsF righe(lista);
        for (qreal punti = puntiLista * 0.6; punti <= puntiLista * 0.8; punti += 0.1) {
            QFont intestazione = fisso;
            intestazione.setPointSizeF(punti);
            const QFontMetricsF titolo(intestazione);
            qreal minimo = std::numeric_limits<qreal>::max();
            qreal massimo = std::numeric_limits<qreal>::lowest();
            for (const auto &[parola, colonna] : parole) {
                const qreal differenza = righe.horizontalAdvance(QString(colonna, u' ')) -
                                         titolo.horizontalAdvance(QString(parola, u' '));
                minimo = std::min(minimo, differenza);
                massimo = std::max(massimo, differenza);
            }
            // The heading can move right of the list's text only, not left of the label's edge.
            if (inizio + (massimo + minimo) / 2 >= 0 && massimo - minimo < scelta.scarto)
                scelta = {puntiLista, punti, (massimo + minimo) / 2, massimo - minimo};
        }
    }
    QFont lista = fisso;
    lista.setPointSizeF(scelta.lista);
    m_ui->Lista->setFont(lista);
    QFont intestazione = fisso;
    intestazione.setPointSizeF(scelta.intestazione);
    m_ui->Label3->setFont(intestazione);
    m_ui->Label3->setIndent(0);
    m_ui->Label3->setContentsMargins(inizio + qRound(scelta.spostamento), 0, 0, 0);
}

void frmConferma::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
        m_ui->txtEMail->selectAll();
    }
}

void frmConferma::keyPressEvent(QKeyEvent *event)
{
    // The picture buttons can be no default button, and the controls leave Enter to the window: as
    // with a default button, Enter presses the button that has the focus, or else CONFERMA.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto *pulsante = qobject_cast<QAbstractButton *>(focusWidget()))
            pulsante->click();
        else
            cmdConferma_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmConferma::cmdConferma_Click()
{
    ControllaEMail(m_context, m_ui->txtEMail);
    if (!m_context.preferenze().EMailValida)
        return;
    m_context.userSettings().setValue(UserKeys::EMail, m_ui->txtEMail->text());
    accept();
}

void frmConferma::cmdAnnulla_Click()
{
    ScaricoOperatori::cancellaFileTx1(m_context.programFolder());
    m_ui->Lista->clear();
    reject();
}
