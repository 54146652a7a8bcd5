#include "TestContext.h"
#include "WindowTesting.h"
#include "applications/Operatore.h"
#include "applications/ui/Operator.h"
#include "core/config/IniFile.h"
#include "core/config/IniKeys.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/InstallationState.h"
#include "core/ui/ImageButton.h"
#include "tests/applications/BancoSedi.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>

using namespace kx;

namespace {

const QString Uscita = u"Sono stati modificati uno o più dati dell' OPERATORE\r\nSalvare le modifiche ?"_s;
const QString SolaLettura =
    u"Domanda già inviata alla Provincia\r\nNon sarà possibile modificare i dati\r\ndell' operatore"_s;
const QString Cancellata =
    u"La domanda è stata cancellata da un'altra postazione. Impossibile salvare le modifiche."_s;

const QStringList Campi28{
    u"txtDenomi"_s,      u"cmbTOper"_s,     u"cmbCorrispondenza"_s, u"txtLegNome"_s, u"cmdComuNasc"_s,
    u"cmdStatoEstero"_s, u"txtcomleg"_s,    u"txtProvLeg"_s,        u"txtGGLeg"_s,   u"txtMMLeg"_s,
    u"txtAAAALeg"_s,     u"txtIban"_s,      u"txtDesBanca"_s,       u"txtContAge"_s, u"txtIndirAge"_s,
    u"txtNumCC"_s,       u"txtIntCC"_s,     u"txtProvCC"_s,         u"txtCodCC"_s,   u"txtAnnCC"_s,
    u"cmbAEco"_s,        u"txtDomPrece"_s,  u"txtGGPrece"_s,        u"txtMMPrece"_s, u"txtAAAAPrece"_s,
    u"cmbDomProv"_s,     u"txtDirettiva"_s, u"txtAnnoDirettiva"_s};

QLineEdit *box(QWidget *w, const QString &name)
{
    return control<QLineEdit>(w, name);
}

QComboBox *lista(QWidget *w, const QString &name)
{
    return control<QComboBox>(w, name);
}

/** Shows the card and makes it the active window, so that focus and typed keys reach it. */
void mostra(Operator &w)
{
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

QString colonna(BancoOperatore &banco, const QString &sql)
{
    return banco.db.scalar(sql).toString();
}

} // namespace

class TestOperator : public QObject
{
    Q_OBJECT

private slots:
    void opensOnTheApplication()
    {
        BancoOperatore banco;
        Operator w(banco.test.context());

        QCOMPARE(w.objectName(), u"Operator"_s);
        QCOMPARE(w.windowTitle(), u"Sez. 1 - Operatore"_s);
        auto *tab = control<QTabWidget>(&w, u"SSTab1"_s);
        QCOMPARE(tab->currentIndex(), 0);
        QCOMPARE(tab->tabText(0), u"Sezioni 1.1 - 1.2"_s);
        QCOMPARE(tab->tabText(1), u"Sezione 1.3 - 1.4"_s);
        QCOMPARE(control<QLabel>(&w, u"lblGrOpe"_s)->text(), u"A"_s);
        QCOMPARE(control<QLabel>(&w, u"lblOpe"_s)->text(), u"12"_s);
        QCOMPARE(control<QLabel>(&w, u"lblCodFiscPIva"_s)->text(), u"CODICE FISCALE"_s);
        QCOMPARE(control<QPlainTextEdit>(&w, u"txtDenomi"_s)->toPlainText(), u"ENTE UNO"_s);
        QCOMPARE(lista(&w, u"cmbTOper"_s)->currentText(), u"01 - ENTE PUBBLICO"_s);
        QCOMPARE(lista(&w, u"cmbCorrispondenza"_s)->currentText(),
                 u"    1 - SEDE LEGALE - SL - VIA ROMA 1"_s);
        QCOMPARE(lista(&w, u"cmbAEco"_s)->currentText(), u" 85 - ISTRUZIONE"_s);
        QCOMPARE(lista(&w, u"cmbDomProv"_s)->currentText(), u"TORINO"_s);
        QCOMPARE(box(&w, u"txtProvLeg"_s)->text(), u"TO"_s);
        QVERIFY(box(&w, u"txtProvLeg"_s)->isEnabled());
        QCOMPARE(box(&w, u"txtAnnoDirettiva"_s)->text(), u"2014"_s);
        for (const QString &nome : {u"cmdAiuto"_s, u"cmdSalva"_s, u"cmdEsci"_s, u"cmdSedeLeg"_s})
            QVERIFY(control<ImageButton>(&w, nome)->isEnabled());
        QCOMPARE(control<ImageButton>(&w, u"cmdSalva"_s)->text(), u"Salva"_s);
        QCOMPARE(control<ImageButton>(&w, u"cmdSedeLeg"_s)->shownPicture(), u"ImgSedeLeg"_s);
        QVERIFY(!lista(&w, u"cmbTOper"_s)->isEnabled());
        QVERIFY(box(&w, u"txtProvLeg"_s)->isReadOnly());
        QVERIFY(control<QPlainTextEdit>(&w, u"txtDenomi"_s)->isReadOnly());
        QCOMPARE(box(&w, u"txtGGLeg"_s)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(box(&w, u"txtAnnCC"_s)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        QCOMPARE(box(&w, u"txtCodCC"_s)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        QVERIFY(banco.test.prompt.shown().isEmpty());
        Recordset &rs = banco.test.context().DE().rs(u"QryDomande"_s);
        QVERIFY(rs.isOpen());
        QCOMPARE(rs.filter(), u"NumDoma=7"_s);
        QCOMPARE(rs.updateCriteria(), Recordset::UpdateCriteria::Key);
    }

    void theOpenListsShowTheirHighlightedEntry_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::newRow("seat") << u"cmbCorrispondenza"_s;
        QTest::newRow("economic activity") << u"cmbAEco"_s;
        QTest::newRow("province") << u"cmbDomProv"_s;
    }
    void theOpenListsShowTheirHighlightedEntry()
    {
        QFETCH(QString, nome);
        BancoOperatore banco;
        Operator w(banco.test.context());
        w.show();
        QComboBox *combo = lista(&w, nome);
        combo->showPopup();
        QAbstractItemView *aperta = combo->view();
        QVERIFY(QTest::qWaitForWindowExposed(aperta->window()));

        // The highlighted entry's band, right of its text, in the highlight colour.
        const QRect riga = aperta->visualRect(aperta->currentIndex());
        QVERIFY(riga.isValid());
        const QImage immagine = aperta->viewport()->grab().toImage();
        const QColor banda = immagine.pixelColor(riga.left() + riga.width() * 9 / 10, riga.center().y());
        // The style shades the band a little.
        const QColor evidenza = aperta->palette().color(QPalette::Active, QPalette::Highlight);
        const auto vicino = [](int a, int b) { return std::abs(a - b) <= 8; };
        QVERIFY2(vicino(banda.red(), evidenza.red()) && vicino(banda.green(), evidenza.green()) &&
                     vicino(banda.blue(), evidenza.blue()),
                 qPrintable(banda.name() + u" / "_s + evidenza.name()));
        combo->hidePopup();
    }

    void storedValuesMissingFromTheListsAreShownAndKept()
    {
        BancoOperatore banco;
        banco.riga({{u"TipoOper"_s, u"09"_s},
                    {u"Corrispondenza"_s, 9},
                    {u"AttEcono"_s, 300},
                    {u"DomPROV"_s, u"MILANO"_s}});
        Operator w(banco.test.context());
        mostra(w);

        QCOMPARE(lista(&w, u"cmbTOper"_s)->currentText(), u"09"_s);
        QCOMPARE(lista(&w, u"cmbCorrispondenza"_s)->currentText(), u"    9"_s);
        QCOMPARE(lista(&w, u"cmbAEco"_s)->currentText(), u"300 - SERVIZI"_s);
        QCOMPARE(lista(&w, u"cmbDomProv"_s)->currentText(), u"MILANO"_s);
        QCOMPARE(lista(&w, u"cmbDomProv"_s)->count(), 5);

        press(&w, u"cmdSalva"_s);
        QVERIFY(w.isVisible());
        const QueryResult riga = banco.db.query(
            u"SELECT TipoOper, Corrispondenza, AttEcono, DomPROV FROM Domande WHERE NumDoma=7"_s);
        QCOMPARE(riga.rows.front(), (QVariantList{u"09"_s, 9, 300, u"MILANO"_s}));
        press(&w, u"cmdEsci"_s);
        QVERIFY(!w.isVisible());
    }

    void noApplicationRowClosesAtActivation()
    {
        BancoOperatore banco;
        banco.test.context().domanda().NumDomaCorrente = 8;
        banco.test.prompt.expect(u"Nessun Operatore  \r\nImpossibile gestire la proposta corsi"_s);
        Operator w(banco.test.context());
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().front().title, u"Sezione 1 - Operatore"_s);
        QCOMPARE(banco.test.prompt.shown().front().icon, Prompt::Icon::Warning);
        w.show();
        QTRY_VERIFY(!w.isVisible());
        QVERIFY(w.chiusa());
    }

    void readOnlyWhenPrinted()
    {
        BancoSedi banco;
        banco.test.context().domanda().DomandaStampataCorrente = true;
        banco.test.prompt.expect(SolaLettura);
        Operator w(banco.test.context());
        QCOMPARE(banco.test.prompt.shown().front().title, u"Sezione 1 - Operatore"_s);
        QCOMPARE(banco.test.prompt.shown().front().icon, Prompt::Icon::Warning);
        mostra(w);

        for (const QString &nome : Campi28)
            QVERIFY2(!control<QWidget>(&w, nome)->isEnabled(), qPrintable(nome));
        auto *salva = control<ImageButton>(&w, u"cmdSalva"_s);
        QVERIFY(!salva->isEnabled());
        QCOMPARE(salva->shownPicture(), u"imgSalvaD"_s);
        QVERIFY(control<QWidget>(&w, u"cmdAiuto"_s)->isEnabled());
        // The legal seat opens with its own read-only warning.
        banco.test.prompt.expect(
            u"Domanda già stampata in definitivo\r\nNon sarà possibile modificare i dati della Sede Legale"_s);
        banco.test.dialogRunner.expect(u"FrmSedeLeg"_s, [](QDialog &sede) { press(&sede, u"cmdEsci"_s); });
        press(&w, u"cmdSedeLeg"_s);
        QVERIFY(banco.test.prompt.allShown());
        QVERIFY(banco.test.dialogRunner.allRun());
        press(&w, u"cmdEsci"_s);
        QVERIFY(!w.isVisible());
    }

    void keyFiltersOnTypedKeys()
    {
        BancoOperatore banco;
        banco.riga({{u"LegNome"_s, QVariant()}, {u"CodCCIAA"_s, QVariant()}, {u"ContNumCC"_s, QVariant()}});
        Operator w(banco.test.context());
        mostra(w);

        QLineEdit *nome = box(&w, u"txtLegNome"_s);
        nome->setFocus();
        QTest::keyClicks(nome, u"rossi m"_s);
        QCOMPARE(nome->text(), u"ROSSI M"_s);

        control<QTabWidget>(&w, u"SSTab1"_s)->setCurrentIndex(1);
        QLineEdit *numero = box(&w, u"txtCodCC"_s);
        numero->setFocus();
        QTest::keyClicks(numero, u"ab1"_s);
        QCOMPARE(numero->text(), u"ab1"_s);

        QLineEdit *anno = box(&w, u"txtDomPrece"_s);
        anno->setFocus();
        anno->clear();
        QTest::keyClicks(anno, u"1.5"_s);
        QCOMPARE(anno->text(), u"1,5"_s);
        banco.test.prompt.expect(u"Carattere non numerico"_s);
        QTest::keyClick(anno, 'x');
        QCOMPARE(anno->text(), u"1,5"_s);
        QVERIFY(banco.test.prompt.allShown());
    }

    void lengthLimitsApplyToTypingOnly_data()
    {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("colonna");
        QTest::addColumn<int>("limite");
        QTest::addColumn<QString>("tasto");

        QTest::newRow("upper case, 35") << u"txtLegNome"_s << u"LegNome"_s << 35 << u"A"_s;
        QTest::newRow("numeric, 4") << u"txtAAAALeg"_s << u"LegAAAANasc"_s << 4 << u"1"_s;
        QTest::newRow("no filter, 7") << u"txtCodCC"_s << u"CodCCIAA"_s << 7 << u"a"_s;
    }

    void lengthLimitsApplyToTypingOnly()
    {
        QFETCH(QString, campo);
        QFETCH(QString, colonna);
        QFETCH(int, limite);
        QFETCH(QString, tasto);

        BancoOperatore banco;
        const QString lungo = QString(limite + 3, u'Z');
        banco.riga({{colonna, lungo}});
        Operator w(banco.test.context());
        mostra(w);
        QLineEdit *campoTesto = box(&w, campo);
        control<QTabWidget>(&w, u"SSTab1"_s)->setCurrentIndex(campo == u"txtCodCC" ? 1 : 0);
        QCOMPARE(campoTesto->text(), lungo);

        campoTesto->setFocus();
        campoTesto->end(false);
        QTest::keyClicks(campoTesto, tasto);
        QCOMPARE(campoTesto->text(), lungo);
        QTest::keyClick(campoTesto, Qt::Key_Backspace);
        QCOMPARE(campoTesto->text(), lungo.left(lungo.size() - 1));

        campoTesto->clear();
        QTest::keyClicks(campoTesto, QString(limite + 2, tasto.front()));
        QCOMPARE(campoTesto->text().size(), limite);
    }

    void twoDigitsOnFocusLoss_data()
    {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<QString>("dopo");

        QTest::newRow("birth day") << u"txtGGLeg"_s << u"7"_s << u"07"_s;
        QTest::newRow("birth month, two digits") << u"txtMMLeg"_s << u"12"_s << u"12"_s;
        QTest::newRow("birth year is not padded") << u"txtAAAALeg"_s << u"5"_s << u"5"_s;
        QTest::newRow("previous day") << u"txtGGPrece"_s << u"3"_s << u"03"_s;
        QTest::newRow("previous month") << u"txtMMPrece"_s << u"9"_s << u"09"_s;
    }

    void twoDigitsOnFocusLoss()
    {
        QFETCH(QString, campo);
        QFETCH(QString, digitato);
        QFETCH(QString, dopo);

        BancoOperatore banco;
        Operator w(banco.test.context());
        mostra(w);
        control<QTabWidget>(&w, u"SSTab1"_s)->setCurrentIndex(campo.endsWith(u"Prece") ? 1 : 0);
        QLineEdit *campoTesto = box(&w, campo);
        campoTesto->setFocus();
        campoTesto->clear();
        QTest::keyClicks(campoTesto, digitato);
        QCOMPARE(campoTesto->text(), digitato);
        QTest::keyClick(campoTesto, Qt::Key_Tab);
        QVERIFY(!campoTesto->hasFocus());
        QCOMPARE(campoTesto->text(), dopo);
    }

    void aFailedCheckShowsItsBoxThenFocusesTheFieldAndItsTab_data()
    {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("valore");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<QString>("fuoco");
        QTest::addColumn<int>("scheda");

        QTest::newRow("1 on the first tab")
            << u"txtLegNome"_s << QString() << u"Inserire il legale rappresentante"_s << u"txtLegNome"_s << 0;
        QTest::newRow("7 on the second tab")
            << u"txtAnnCC"_s << u"1900"_s
            << u"Anno di iscrizione CCIAA non valido: deve essere maggiore di 1900"_s << u"txtAnnCC"_s << 1;
        QTest::newRow("9 focuses the day box") << u"txtAAAALeg"_s << u"1900"_s
                                               << u"Data di nascita del legale\r\nrappresentante non valida: "
                                                  u"l'anno di nascita deve essere maggiore "
                                                  u"di 1900"_s
                                               << u"txtGGLeg"_s << 0;
    }

    void aFailedCheckShowsItsBoxThenFocusesTheFieldAndItsTab()
    {
        QFETCH(QString, campo);
        QFETCH(QString, valore);
        QFETCH(QString, messaggio);
        QFETCH(QString, fuoco);
        QFETCH(int, scheda);

        BancoOperatore banco;
        Operator w(banco.test.context());
        mostra(w);
        auto *tab = control<QTabWidget>(&w, u"SSTab1"_s);
        tab->setCurrentIndex(1 - scheda);
        box(&w, campo)->setText(valore);
        control<QWidget>(&w, u"cmdEsci"_s)->setFocus();

        int boxesWhenTabChanged = -1;
        connect(tab, &QTabWidget::currentChanged, &w,
                [&] { boxesWhenTabChanged = int(banco.test.prompt.shown().size()); });
        banco.test.prompt.expect(messaggio);
        press(&w, u"cmdSalva"_s);

        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().back().icon, Prompt::Icon::Critical);
        QCOMPARE(banco.test.prompt.shown().back().title, u"Verifica dati"_s);
        QCOMPARE(boxesWhenTabChanged, 1);
        QCOMPARE(tab->currentIndex(), scheda);
        QTRY_COMPARE(QApplication::focusWidget(), control<QWidget>(&w, fuoco));
        QVERIFY(w.isVisible());
        QCOMPARE(colonna(banco, u"SELECT LegNome FROM Domande WHERE NumDoma=7"_s), u"ROSSI MARIO"_s);
    }

    void theAllOrNothingCheckLeavesFocusAndTab()
    {
        BancoOperatore banco;
        banco.riga({{u"Direttiva"_s, QVariant()}});
        Operator w(banco.test.context());
        mostra(w);
        auto *esci = control<QWidget>(&w, u"cmdEsci"_s);
        esci->setFocus();
        banco.test.prompt.expect(u"Per i dati riguardanti l'eventuale domanda precedente è obbligatorio\r\n"
                                 u"compilare tutti i campi o non compilarne nessuno."_s);
        press(&w, u"cmdSalva"_s);
        QCOMPARE(control<QTabWidget>(&w, u"SSTab1"_s)->currentIndex(), 0);
        QCOMPARE(QApplication::focusWidget(), esci);
    }

    void savingWritesBothCopiesAndStaysOpen()
    {
        BancoOperatore banco;
        Operator w(banco.test.context());
        mostra(w);
        box(&w, u"txtLegNome"_s)->setText(u"BIANCHI"_s);
        box(&w, u"txtIban"_s)->clear();
        lista(&w, u"cmbCorrispondenza"_s)->setCurrentIndex(2);
        lista(&w, u"cmbDomProv"_s)->setCurrentText(u"REGIONE VALDORIA"_s);

        press(&w, u"cmdSalva"_s);
        QVERIFY(w.isVisible());
        QVERIFY(banco.test.prompt.shown().isEmpty());
        const QueryResult domanda = banco.db.query(
            u"SELECT LegNome, ContIBAN, Corrispondenza, DomPROV FROM Domande WHERE NumDoma=7"_s);
        QCOMPARE(domanda.rows.front(), (QVariantList{u"BIANCHI"_s, u""_s, 2, u"REGIONE VALDORIA"_s}));
        const QueryResult registro =
            banco.db.query(u"SELECT LegNome, ContIBAN, Corrispondenza FROM CorsiOper WHERE Operatore=12"_s);
        QCOMPARE(registro.rows.front(), (QVariantList{u"BIANCHI"_s, u""_s, 2}));

        press(&w, u"cmdEsci"_s);
        QVERIFY(!w.isVisible());
        QVERIFY(banco.test.prompt.shown().isEmpty());
    }

    void leaving_data()
    {
        QTest::addColumn<bool>("modificato");
        QTest::addColumn<bool>("valido");
        QTest::addColumn<int>("risposta");
        QTest::addColumn<bool>("chiusa");
        QTest::addColumn<bool>("scritto");
        QTest::addColumn<QString>("filtro");

        QTest::newRow("unchanged: no question") << false << true << -1 << true << false << QString();
        QTest::newRow("changed, Yes")
            << true << true << int(Prompt::Answer::Yes) << true << true << u"NumDoma=7"_s;
        QTest::newRow("changed, Yes, a check fails")
            << true << false << int(Prompt::Answer::Yes) << false << false << u"NumDoma=7"_s;
        QTest::newRow("changed, No") << true << true << int(Prompt::Answer::No) << true << false
                                     << u"NumDoma=7"_s;
        QTest::newRow("changed, Cancel")
            << true << true << int(Prompt::Answer::Cancel) << false << false << u"NumDoma=7"_s;
    }

    void leaving()
    {
        QFETCH(bool, modificato);
        QFETCH(bool, valido);
        QFETCH(int, risposta);
        QFETCH(bool, chiusa);
        QFETCH(bool, scritto);
        QFETCH(QString, filtro);

        BancoOperatore banco;
        Operator w(banco.test.context());
        mostra(w);
        if (modificato)
            box(&w, u"txtDesBanca"_s)->setText(u"ALTRA BANCA"_s);
        if (!valido)
            box(&w, u"txtLegNome"_s)->clear();
        if (risposta >= 0)
            banco.test.prompt.expect(Uscita, Prompt::Answer(risposta));
        if (!valido)
            banco.test.prompt.expect(u"Inserire il legale rappresentante"_s);

        press(&w, u"cmdEsci"_s);
        QVERIFY(banco.test.prompt.allShown());
        if (risposta >= 0) {
            QCOMPARE(banco.test.prompt.shown().front().title, u"Sezione 1 - Operatore"_s);
            QCOMPARE(banco.test.prompt.shown().front().icon, Prompt::Icon::Information);
            QCOMPARE(banco.test.prompt.shown().front().buttons, Prompt::Buttons::YesNoCancel);
        }
        QCOMPARE(!w.isVisible(), chiusa);
        QCOMPARE(colonna(banco, u"SELECT ContDesBanca FROM Domande WHERE NumDoma=7"_s) == u"ALTRA BANCA",
                 scritto);
        QCOMPARE(colonna(banco, u"SELECT ContDesBanca FROM CorsiOper WHERE Operatore=12"_s) == u"ALTRA BANCA",
                 scritto);
        Recordset &rs = banco.test.context().DE().rs(u"QryDomande"_s);
        QCOMPARE(rs.isOpen(), !chiusa);
        if (chiusa)
            QCOMPARE(rs.filter(), filtro);
        else
            QCOMPARE(box(&w, u"txtDesBanca"_s)->text(), u"ALTRA BANCA"_s);
    }

    void theTitleBarLeavesAsTheExitButton()
    {
        BancoOperatore banco;
        Operator w(banco.test.context());
        mostra(w);
        box(&w, u"txtDesBanca"_s)->setText(u"ALTRA BANCA"_s);
        banco.test.prompt.expect(Uscita, Prompt::Answer::Cancel);
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        banco.test.prompt.expect(Uscita, Prompt::Answer::No);
        QVERIFY(w.close());
        QVERIFY(!w.isVisible());
        QVERIFY(banco.test.prompt.allShown());
    }

    void aChangeStoredElsewhereWhileTheCardIsOpenIsNotTheUsers()
    {
        BancoOperatore banco;
        Operator w(banco.test.context());
        mostra(w);
        banco.db.execute(u"UPDATE Domande SET ContDesBanca='ALTRA' WHERE NumDoma=7"_s);
        press(&w, u"cmdEsci"_s);
        QVERIFY(!w.isVisible());
        QVERIFY(banco.test.prompt.shown().isEmpty());
        QCOMPARE(colonna(banco, u"SELECT ContDesBanca FROM Domande WHERE NumDoma=7"_s), u"ALTRA"_s);
    }

    void aCardSavedMeanwhileByAnotherInstallationAsksBeforeWritingOverIt_data()
    {
        QTest::addColumn<bool>("sovrascrivere");
        QTest::newRow("Yes writes the card") << true;
        QTest::newRow("No shows the application as stored") << false;
    }
    void aCardSavedMeanwhileByAnotherInstallationAsksBeforeWritingOverIt()
    {
        QFETCH(bool, sovrascrivere);
        BancoOperatore banco;
        Operator w(banco.test.context());
        mostra(w);
        Connection seconda;
        seconda.open(banco.db.path(), Connection::Mode::Shared);
        seconda.execute(u"UPDATE Domande SET ContDesBanca='ALTRA' WHERE NumDoma=7"_s);

        box(&w, u"txtLegNome"_s)->setText(u"BIANCHI"_s);
        banco.test.prompt.expect(u"I dati sono stati modificati da un'altra postazione dopo l'apertura della "
                                 u"finestra.\r\nSovrascriverli con quelli inseriti?"_s,
                                 sovrascrivere ? Prompt::Answer::Yes : Prompt::Answer::No);
        press(&w, u"cmdSalva"_s);
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().front().title, u"Accesso concorrente"_s);
        QCOMPARE(banco.test.prompt.shown().front().icon, Prompt::Icon::Warning);
        QCOMPARE(banco.test.prompt.shown().front().buttons, Prompt::Buttons::YesNo);
        const QString banca = colonna(banco, u"SELECT ContDesBanca FROM Domande WHERE NumDoma=7"_s);
        const QString legale = colonna(banco, u"SELECT LegNome FROM Domande WHERE NumDoma=7"_s);
        if (sovrascrivere) {
            QCOMPARE(banca, u"BANCA"_s);
            QCOMPARE(legale, u"BIANCHI"_s);
            QCOMPARE(colonna(banco, u"SELECT LegNome FROM CorsiOper WHERE Operatore=12"_s), u"BIANCHI"_s);
        } else {
            QCOMPARE(banca, u"ALTRA"_s);
            QCOMPARE(legale, u"ROSSI MARIO"_s);
            QCOMPARE(box(&w, u"txtDesBanca"_s)->text(), u"ALTRA"_s);
            QCOMPARE(box(&w, u"txtLegNome"_s)->text(), u"ROSSI MARIO"_s);
            QCOMPARE(colonna(banco, u"SELECT LegNome FROM CorsiOper WHERE Operatore=12"_s), QString());
        }
        QVERIFY(w.isVisible());
        press(&w, u"cmdEsci"_s);
        QVERIFY(!w.isVisible());
        QVERIFY(banco.test.prompt.allShown());
        seconda.close();
    }

    void theCardShowsTheApplicationAsStoredWhenTheViewWasLeftOpen()
    {
        BancoOperatore banco;
        banco.riga(); // the view left open, as the selection window's grid leaves it
        banco.db.execute(u"UPDATE Domande SET ContDesBanca='ALTRA' WHERE NumDoma=7"_s);
        Operator w(banco.test.context());
        mostra(w);
        QCOMPARE(box(&w, u"txtDesBanca"_s)->text(), u"ALTRA"_s);
        box(&w, u"txtLegNome"_s)->setText(u"BIANCHI"_s);
        press(&w, u"cmdSalva"_s);
        QVERIFY(banco.test.prompt.shown().isEmpty());
        QCOMPARE(colonna(banco, u"SELECT LegNome || '/' || ContDesBanca FROM Domande WHERE NumDoma=7"_s),
                 u"BIANCHI/ALTRA"_s);
    }

    void aNullCorrespondenceChosenByTheUserIsAChangeAtExit()
    {
        BancoOperatore banco;
        banco.riga({{u"Corrispondenza"_s, QVariant()}});
        Operator w(banco.test.context());
        mostra(w);
        QCOMPARE(lista(&w, u"cmbCorrispondenza"_s)->currentIndex(), 0);
        lista(&w, u"cmbCorrispondenza"_s)->setCurrentIndex(1);
        banco.test.prompt.expect(Uscita, Prompt::Answer::Cancel);
        press(&w, u"cmdEsci"_s);
        QVERIFY(banco.test.prompt.allShown());
        QVERIFY(w.isVisible());
    }

    void anApplicationDeletedByAnotherInstallation()
    {
        BancoOperatore banco;
        banco.test.context().fileIni().setNomeFile(banco.test.path(u"KX58TORVA.INI"_s));
        banco.test.writeFile(u"KX58TORVA.INI"_s, "[BaseDati]\r\nNumDoma=7\r\n");
        Operator w(banco.test.context());
        mostra(w);
        box(&w, u"txtLegNome"_s)->setText(u"BIANCHI"_s);

        Connection altra;
        altra.open(banco.db.path(), Connection::Mode::Shared);
        altra.execute(u"DELETE FROM Domande WHERE NumDoma=7"_s);
        altra.close();

        banco.test.prompt.expect(Uscita, Prompt::Answer::Yes);
        banco.test.prompt.expect(Cancellata);
        press(&w, u"cmdEsci"_s);

        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().back().title, u"Accesso concorrente"_s);
        QCOMPARE(banco.test.prompt.shown().back().icon, Prompt::Icon::Warning);
        QVERIFY(!w.isVisible());
        QCOMPARE(banco.db.count(u"Domande"_s), 0);
        QCOMPARE(colonna(banco, u"SELECT LegNome FROM CorsiOper WHERE Operatore=12"_s), QString());
        QCOMPARE(banco.test.context().domanda().NumDomaCorrente, 0);
        QCOMPARE(banco.test.context().fileIni().Leggi(IniKeys::NumDoma, u"x"_s), u"0"_s);
    }

    void aRegistryWithoutTheOperator()
    {
        BancoOperatore banco;
        banco.db.execute(u"DELETE FROM CorsiOper WHERE Operatore=12"_s);
        Operator w(banco.test.context());
        mostra(w);
        box(&w, u"txtLegNome"_s)->setText(u"BIANCHI"_s);

        banco.test.prompt.expect(
            u"Dati non presenti nell'anagrafica regionale: salvati solo i dati della domanda."_s);
        press(&w, u"cmdSalva"_s);
        QCOMPARE(banco.test.prompt.shown().back().title, u"Sezione 1 - Operatore"_s);
        QCOMPARE(banco.test.prompt.shown().back().icon, Prompt::Icon::Information);
        QVERIFY(w.isVisible());
        QCOMPARE(colonna(banco, u"SELECT LegNome FROM Domande WHERE NumDoma=7"_s), u"BIANCHI"_s);
        press(&w, u"cmdEsci"_s);
        QVERIFY(!w.isVisible());
    }

    void anErrorOffersRetryThenCancelClosesWithNothingWritten()
    {
        BancoOperatore banco;
        banco.db.execute(u"CREATE TRIGGER registroBloccato BEFORE UPDATE ON CorsiOper "
                         u"BEGIN SELECT RAISE(ABORT, 'registro bloccato'); END"_s);
        Operator w(banco.test.context());
        mostra(w);
        box(&w, u"txtLegNome"_s)->setText(u"BIANCHI"_s);

        const RoutineError atteso = errorOf([&] {
            scriviOperatore(banco.test.context().DE().CorsiDB(), 7, u"A"_s, u"12"_s, w.scheda(), {},
                            Scrittura::Sovrascrivi);
        });
        const QString testo = testoErroreAggiornamento(atteso);
        QVERIFY(testo.startsWith(u"Errore "_s + QString::number(atteso.number()) + u"\r\n"_s));
        QVERIFY(testo.endsWith(u"\r\n\r\nSi è verificato un errore inaspettato durante "
                               u"l'aggiornamento del record.\r\nScegliere riprova per cercare di ripetere "
                               u"l'operazione, altrimenti annullare."_s));

        banco.test.prompt.expect(Uscita, Prompt::Answer::Yes);
        banco.test.prompt.expect(testo, Prompt::Answer::Retry);
        banco.test.prompt.expect(testo, Prompt::Answer::Cancel);
        press(&w, u"cmdEsci"_s);

        QVERIFY(banco.test.prompt.allShown());
        const ShownBox ultimo = banco.test.prompt.shown().back();
        QCOMPARE(ultimo.title, u"Accesso concorrente"_s);
        QCOMPARE(ultimo.buttons, Prompt::Buttons::RetryCancel);
        QCOMPARE(ultimo.icon, Prompt::Icon::Warning);
        QVERIFY(!w.isVisible());
        QCOMPARE(colonna(banco, u"SELECT LegNome FROM Domande WHERE NumDoma=7"_s), u"ROSSI MARIO"_s);
        QVERIFY(!banco.test.context().DE().rs(u"QryDomande"_s).isOpen());
    }

    void helpOnBothTabs()
    {
        BancoOperatore banco;
        banco.test.writeFile(u"aiuto.html"_s, "<html></html>");
        banco.test.context().installazione().FileAiuto = u"aiuto.html"_s;
        Operator w(banco.test.context());
        mostra(w);
        press(&w, u"cmdAiuto"_s);
        control<QTabWidget>(&w, u"SSTab1"_s)->setCurrentIndex(1);
        press(&w, u"cmdAiuto"_s);
        QCOMPARE(banco.test.help.topics, (QList<int>{2000, 2000}));
    }

    void thePreviousApplicationNoteIsShownWhole_data()
    {
        QTest::addColumn<qreal>("scala");
        QTest::addColumn<bool>("abbassata");
        QTest::newRow("default font") << 1.0 << false;
        QTest::newRow("larger font") << 1.4 << false;
        QTest::newRow("window made as low as it goes") << 1.0 << true;
    }
    void thePreviousApplicationNoteIsShownWhole()
    {
        QFETCH(qreal, scala);
        QFETCH(bool, abbassata);
        BancoOperatore banco;
        Operator w(banco.test.context());
        QFont carattere = w.font();
        carattere.setPointSizeF(carattere.pointSizeF() * scala);
        w.setFont(carattere);
        // On the test's 800 px screen, Qt caps the window first shown below what the note needs.
        mostra(w);
        control<QTabWidget>(&w, u"SSTab1"_s)->setCurrentIndex(1);
        QCoreApplication::processEvents();
        if (abbassata) {
            w.resize(w.width(), 0);
            QCoreApplication::processEvents();
        }

        auto *nota = control<QLabel>(&w, u"lblNotaPrecedente"_s);
        QVERIFY2(nota->height() >= nota->heightForWidth(nota->width()),
                 qPrintable(u"%1 px at %2 px wide, %3 needed"_s.arg(nota->height())
                                .arg(nota->width())
                                .arg(nota->heightForWidth(nota->width()))));
        QVERIFY(nota->parentWidget()->contentsRect().contains(nota->geometry()));
        QVERIFY(nota->geometry().bottom() < box(&w, u"txtDomPrece"_s)->geometry().top());
    }

    void clearingTheBirthPlaceEmptiesAndEnablesTheProvince()
    {
        BancoOperatore banco;
        banco.riga({{u"LegProvNasc"_s, u""_s}, {u"LegComNasc"_s, u"FRANCIA"_s}});
        Operator w(banco.test.context());
        QLineEdit *provincia = box(&w, u"txtProvLeg"_s);
        QVERIFY(!provincia->isEnabled());
        box(&w, u"txtcomleg"_s)->clear();
        QVERIFY(provincia->isEnabled());
        QCOMPARE(provincia->text(), QString());
    }
};

QTEST_MAIN(TestOperator)
#include "tst_Operator.moc"
