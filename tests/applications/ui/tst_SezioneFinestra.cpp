#include "TestContext.h"
#include "WindowTesting.h"
#include "applications/ui/SezioneFinestra.h"
#include "core/services/ErrorBoxes.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/**
 * A section window of one box whose save fails as the test says: the frame's recovery is what is
 * under test. It counts what the frame asks of it.
 */
class Sezione : public SezioneFinestra
{
public:
    std::function<void()> scrivi = [] {};
    /** How each write was asked to treat a row changed meanwhile. */
    QList<Scrittura> scritture;
    int reinserimenti = 0;
    int ricaricamenti = 0;
    int righeRicaricate = 0;
    QLineEdit *campo;

    Sezione(Context &context, const TestiSezione &testi) : SezioneFinestra(context, testi)
    {
        setObjectName(u"Sezione"_s);
        auto *colonna = new QVBoxLayout(this);
        campo = new QLineEdit(this);
        colonna->addWidget(campo);
        for (const QString &nome : {u"cmdSalva"_s, u"cmdEsci"_s, u"cmdAiuto"_s}) {
            auto *pulsante = new QPushButton(nome, this);
            pulsante->setObjectName(nome);
            colonna->addWidget(pulsante);
        }
        filtroTasti(campo, std::nullopt, 5);
        Form_Load();
    }

protected:
    bool apriVista() override { return true; }
    void caricaVista() override { campo->setText(u"salvato"_s); }
    void AbilitaCampi(bool abilita) override { campo->setEnabled(abilita); }
    bool DatiInvariati() override { return campo->text() == u"salvato"; }
    bool ControllaESalva() override
    {
        return salvaConRecupero([this](Scrittura scrittura) {
            scritture << scrittura;
            scrivi();
        });
    }
    void chiudiVista(bool) override {}
    void reinserisci() override { ++reinserimenti; }
    void ricarica() override
    {
        ++ricaricamenti;
        campo->setText(u"salvato"_s);
    }
    void ricaricaRiga() override
    {
        ++righeRicaricate;
        campo->setText(u"salvato altrove"_s);
    }
};

[[noreturn]] void rigaCancellata()
{
    throw RoutineError(ErrorCode::RowDeletedMeanwhile, u"Riga cancellata"_s);
}

} // namespace

class TestSezioneFinestra : public QObject
{
    Q_OBJECT

private slots:
    void deletedRowQuestion_data()
    {
        QTest::addColumn<int>("finestra");
        QTest::addColumn<QString>("domanda");
        QTest::addColumn<QString>("reinserito");

        QTest::newRow("operator")
            << 0
            << u"Il record che si sta cercando di aggiornare è stato cancellato da un altro "
               u"operatore.\r\nReinserire il record?"_s
            << u"Operatore reinserito."_s;
        QTest::newRow("legal seat")
            << 1
            << u"Il record che si sta cercando di aggiornare è stato cancellato da un "
               u"altro utente.\r\nReinserire il record?"_s
            << u"Sede Legale reinserita."_s;
        QTest::newRow("involved seats")
            << 2
            << u"Il record che si sta cercando di aggiornare è stato cancellato da un "
               u"altro operatore.\r\nReinserire il record?"_s
            << u"Componente reinserito."_s;
    }

    void deletedRowQuestion()
    {
        QFETCH(int, finestra);
        QFETCH(QString, domanda);
        QFETCH(QString, reinserito);

        const TestiSezione *testi[] = {&testiOperator(), &testiFrmSedeLeg(), &testiComponen()};
        TestContext test;
        Sezione w(test.context(), *testi[finestra]);
        w.show();
        w.scrivi = [] { rigaCancellata(); };

        test.prompt.expect(domanda, Prompt::Answer::Yes);
        test.prompt.expect(reinserito);
        press(&w, u"cmdSalva"_s);
        QCOMPARE(w.reinserimenti, 1);
        QCOMPARE(test.prompt.shown().front().title, u"Accesso concorrente"_s);
        QCOMPARE(test.prompt.shown().front().buttons, Prompt::Buttons::YesNo);
        QCOMPARE(test.prompt.shown().back().icon, Prompt::Icon::Information);

        w.campo->setText(u"modificato"_s);
        test.prompt.expect(domanda, Prompt::Answer::No);
        press(&w, u"cmdSalva"_s);
        QCOMPARE(w.ricaricamenti, 1);
        QCOMPARE(w.campo->text(), u"salvato"_s);
        QVERIFY(w.isVisible());
        QVERIFY(test.prompt.allShown());
    }

    void retryWritesAgain()
    {
        TestContext test;
        Sezione w(test.context(), testiComponen());
        w.show();
        int scritture = 0;
        const RoutineError errore(ErrorCode::Unspecified, u"Disco pieno"_s);
        w.scrivi = [&] {
            if (++scritture == 1)
                throw errore;
        };
        w.campo->setText(u"modificato"_s);

        test.prompt.expect(testiComponen().datiModificati + u"\r\nSalvare le modifiche ?"_s,
                           Prompt::Answer::Yes);
        test.prompt.expect(testoErroreAggiornamento(errore), Prompt::Answer::Retry);
        press(&w, u"cmdEsci"_s);
        QCOMPARE(scritture, 2);
        QVERIFY(!w.isVisible());
        QVERIFY(test.prompt.allShown());
    }

    void aRowChangedElsewhereAsksBeforeWritingOverIt_data()
    {
        QTest::addColumn<bool>("sovrascrivere");
        QTest::newRow("Yes writes over it") << true;
        QTest::newRow("No shows the row as stored") << false;
    }
    void aRowChangedElsewhereAsksBeforeWritingOverIt()
    {
        QFETCH(bool, sovrascrivere);
        TestContext test;
        Sezione w(test.context(), testiFrmSedeLeg());
        w.show();
        w.scrivi = [&w] {
            if (w.scritture.size() == 1)
                throw RigaModificataAltrove();
        };
        w.campo->setText(u"modificato"_s);
        test.prompt.expect(u"I dati sono stati modificati da un'altra postazione dopo l'apertura della "
                           u"finestra.\r\nSovrascriverli con quelli inseriti?"_s,
                           sovrascrivere ? Prompt::Answer::Yes : Prompt::Answer::No);
        press(&w, u"cmdSalva"_s);
        QVERIFY(test.prompt.allShown());
        const ShownBox &domanda = test.prompt.shown().front();
        QCOMPARE(domanda.title, u"Accesso concorrente"_s);
        QCOMPARE(domanda.buttons, Prompt::Buttons::YesNo);
        QCOMPARE(domanda.icon, Prompt::Icon::Warning);
        if (sovrascrivere) {
            QCOMPARE(w.scritture, (QList<Scrittura>{Scrittura::SeInvariata, Scrittura::Sovrascrivi}));
            QCOMPARE(w.righeRicaricate, 0);
            QCOMPARE(w.campo->text(), u"modificato"_s);
        } else {
            QCOMPARE(w.scritture, QList<Scrittura>{Scrittura::SeInvariata});
            QCOMPARE(w.righeRicaricate, 1);
            QCOMPARE(w.campo->text(), u"salvato altrove"_s);
        }
        QVERIFY(w.isVisible());
    }

    void pastingBeyondTheLimitInsertsWhatFits()
    {
        TestContext test;
        Sezione w(test.context(), testiOperator());
        w.campo->clear();
        QApplication::clipboard()->setText(u"123456"_s);
        w.campo->paste();
        QCOMPARE(w.campo->text(), u"12345"_s);
        w.campo->paste();
        QCOMPARE(w.campo->text(), u"12345"_s);
    }
};

QTEST_MAIN(TestSezioneFinestra)
#include "tst_SezioneFinestra.moc"
