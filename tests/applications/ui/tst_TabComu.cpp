#include "FixtureDatabase.h"
#include "TestContext.h"
#include "WindowTesting.h"
#include "applications/ui/TabComu.h"
#include "applications/ui/TabNaz.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/state/LuoghiScelti.h"
#include "tests/applications/BancoLuoghi.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** What tells the two pickers apart in these tests. */
struct Picker
{
    QString nome;
    QString griglia;
    QString ricerca;
    QString campo;
    QString nonTrovato;
    QString titoloNonTrovato;
    QString nessunaRiga;
    QString titoloNessunaRiga;
};

const Picker Comuni{u"TabComu"_s,
                    u"GrdComu"_s,
                    u"txtRicComu"_s,
                    u"Denominazione"_s,
                    u"Nessun comune trovato"_s,
                    u"Ricerca comune"_s,
                    u"Selezionare un comune oppure Uscire"_s,
                    u""_s};
const Picker Stati{u"TabNaz"_s,
                   u"GrdNaz"_s,
                   u"txtRicNaz"_s,
                   u"DenomStato"_s,
                   u"Nessuno Stato trovato"_s,
                   u"Ricerca stato"_s,
                   u"Selezionare uno Stato Estero oppure Uscire"_s,
                   u"Stati esteri"_s};

const Picker &picker(const QString &nome)
{
    return nome == u"TabComu" ? Comuni : Stati;
}

/** A program folder with the fixture's places, its database open. */
struct Banco
{
    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};

    explicit Banco(bool conLuoghi = true)
    {
        if (conLuoghi)
            caricaLuoghi(db);
        test.context().DE().CorsiDB().open(db.path(), Connection::Mode::Shared);
    }
    ~Banco() { test.context().DE().CorsiDB().close(); }

    std::unique_ptr<QDialog> apri(const QString &nome)
    {
        std::unique_ptr<QDialog> w;
        if (nome == u"TabComu")
            w = std::make_unique<TabComu>(test.context());
        else
            w = std::make_unique<TabNaz>(test.context());
        w->show();
        QApplication::setActiveWindow(w.get());
        return w;
    }
    LuoghiScelti &scelti() { return test.context().luoghiScelti(); }
};

/** The name on the grid's current row, as the window shows it. */
QString nomeCorrente(QDialog *w, const Picker &p)
{
    auto *griglia = control<QTableView>(w, p.griglia);
    const QModelIndex corrente = griglia->currentIndex();
    if (!corrente.isValid())
        return QString();
    return griglia->model()->index(corrente.row(), 1).data().toString();
}

void cerca(QDialog *w, const Picker &p, const QString &testo)
{
    control<QLineEdit>(w, p.ricerca)->setText(testo);
    press(w, u"cmdCerca2"_s);
}

} // namespace

class TestTabComu : public QObject
{
    Q_OBJECT

private slots:
    void theMunicipalitiesInNameOrder()
    {
        Banco banco;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        auto w = banco.apri(u"TabComu"_s);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

        QCOMPARE(w->windowTitle(), u"Tabella Comuni"_s);
        QCOMPARE(control<QLabel>(w.get(), u"lblGrdComu"_s)->text(), u"COMUNI ITALIANI"_s);
        auto *griglia = control<QTableView>(w.get(), u"GrdComu"_s);
        QStringList intestazioni;
        for (int c = 0; c < griglia->model()->columnCount(); ++c)
            intestazioni << griglia->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(intestazioni, (QStringList{u"Cod. Istat"_s, u"Denominazione"_s, u"CAP"_s, u"Prov"_s}));
        QVERIFY(griglia->isColumnHidden(0));
        // The columns keep their widths, each at least its heading's, and the name fills the grid.
        QHeaderView *colonne = griglia->horizontalHeader();
        QCOMPARE(griglia->columnWidth(2), 79);
        QCOMPARE(griglia->columnWidth(3), std::max(26, colonne->sectionSizeHint(3)));
        QVERIFY(griglia->columnWidth(3) > 26);
        QVERIFY(griglia->columnWidth(1) >= 185);
        QCOMPARE(colonne->length(), griglia->viewport()->width());
        QCOMPARE(griglia->rowHeight(0), griglia->fontMetrics().height() + 4);
        QCOMPARE(nomeCorrente(w.get(), Comuni), u"Agliè"_s);
        QCOMPARE(griglia->model()->index(1, 1).data().toString(), u"Aosta"_s);
        QCOMPARE(control<QWidget>(w.get(), u"cmdCerca2"_s)->property("text").toString(), u"Cerca"_s);
    }

    void theStatesInTheTablesOrder()
    {
        Banco banco;
        auto w = banco.apri(u"TabNaz"_s);
        QCOMPARE(w->windowTitle(), u"Tabella Stati esteri"_s);
        QCOMPARE(control<QLabel>(w.get(), u"lblGrdNaz"_s)->text(), u"STATI ESTERI"_s);
        auto *griglia = control<QTableView>(w.get(), u"GrdNaz"_s);
        QCOMPARE(griglia->model()->headerData(1, Qt::Horizontal).toString(), u"Deniminazione"_s);
        QCOMPARE(griglia->columnWidth(0), 60);
        QVERIFY(griglia->columnWidth(1) >= 277);
        QCOMPARE(griglia->horizontalHeader()->length(), griglia->viewport()->width());
        // The table's order is its key's: SVIZZERA (Z133) before COSTA D'AVORIO (Z313).
        QCOMPARE(nomeCorrente(w.get(), Stati), u"AUSTRIA"_s);
        QCOMPARE(griglia->model()->index(2, 1).data().toString(), u"SVIZZERA"_s);
        cerca(w.get(), Stati, u"STATI"_s);
        QCOMPARE(nomeCorrente(w.get(), Stati), u"STATI UNITI D'AMERICA"_s);
        cerca(w.get(), Stati, QString());
        QCOMPARE(nomeCorrente(w.get(), Stati), u"AUSTRIA"_s);
    }

    void confermaSwapsTheLastTwoSlots()
    {
        Banco banco;
        auto w = banco.apri(u"TabComu"_s);
        cerca(w.get(), Comuni, u"ROMA"_s);
        QCOMPARE(nomeCorrente(w.get(), Comuni), u"Roma"_s);
        press(w.get(), u"cmdSele2"_s);
        QVERIFY(!w->isVisible());
        QCOMPARE(w->result(), int(QDialog::Accepted));
        QCOMPARE(banco.scelti().ComuneScelto,
                 (std::array<QString, 4>{u"058091"_s, u"Roma"_s, u"RM"_s, u"00118"_s}));
        Recordset &rs = banco.test.context().DE().rs(u"QryComuniProv"_s);
        QVERIFY(!rs.isOpen());
        QVERIFY(rs.filter().isEmpty());
    }

    void confermaOfAState()
    {
        Banco banco;
        auto w = banco.apri(u"TabNaz"_s);
        cerca(w.get(), Stati, u"COSTA D'"_s);
        press(w.get(), u"cmdSele2"_s);
        QVERIFY(!w->isVisible());
        QCOMPARE(banco.scelti().StatoEsteroScelto.codice, u"Z313"_s);
        QCOMPARE(banco.scelti().StatoEsteroScelto.nome, u"COSTA D'AVORIO"_s);
    }

    void notFoundGoesBackToTheRowShownBefore_data()
    {
        QTest::addColumn<QString>("finestra");
        QTest::addColumn<QString>("prima");
        QTest::addColumn<QString>("dopo");
        QTest::addColumn<QString>("testo");

        QTest::newRow("a name that only contains the text")
            << u"TabComu"_s << u"FORL"_s << u"Forlì"_s << u"DI ROMA"_s;
        QTest::newRow("a wildcard is a plain character")
            << u"TabComu"_s << u"ROMANO D"_s << u"Romano d'Ezzelino"_s << u"ROM*"_s;
        QTest::newRow("a state") << u"TabNaz"_s << u"SVI"_s << u"SVIZZERA"_s << u"ITALIA"_s;
    }

    void notFoundGoesBackToTheRowShownBefore()
    {
        QFETCH(QString, finestra);
        QFETCH(QString, prima);
        QFETCH(QString, dopo);
        QFETCH(QString, testo);

        Banco banco;
        const Picker &p = picker(finestra);
        auto w = banco.apri(finestra);
        cerca(w.get(), p, prima);
        QCOMPARE(nomeCorrente(w.get(), p), dopo);
        banco.test.prompt.expect(p.nonTrovato);
        cerca(w.get(), p, testo);
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().back().title, p.titoloNonTrovato);
        QCOMPARE(banco.test.prompt.shown().back().icon, Prompt::Icon::Warning);
        QCOMPARE(nomeCorrente(w.get(), p), dopo);
        QVERIFY(w->isVisible());
    }

    void enterInTheSearchBoxSearchesAndNeverConfirms_data()
    {
        QTest::addColumn<QString>("finestra");
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<QString>("trovato");

        QTest::newRow("municipality") << u"TabComu"_s << u"sant'angelo l"_s << u"Sant'Angelo Lomellina"_s;
        QTest::newRow("state") << u"TabNaz"_s << u"au"_s << u"AUSTRIA"_s;
    }

    void enterInTheSearchBoxSearchesAndNeverConfirms()
    {
        QFETCH(QString, finestra);
        QFETCH(QString, digitato);
        QFETCH(QString, trovato);

        Banco banco;
        const Picker &p = picker(finestra);
        auto w = banco.apri(finestra);
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        auto *ricerca = control<QLineEdit>(w.get(), p.ricerca);
        ricerca->setFocus();
        QTest::keyClicks(ricerca, digitato);
        QCOMPARE(ricerca->text(), digitato.toUpper());
        QTest::keyClick(ricerca, Qt::Key_Return);
        QCOMPARE(nomeCorrente(w.get(), p), trovato);
        QTest::keyClick(ricerca, Qt::Key_Enter);
        QVERIFY(w->isVisible());
        QCOMPARE(banco.scelti().ComuneScelto[0], QString());
        QCOMPARE(banco.scelti().StatoEsteroScelto.codice, QString());
    }

    void confermaWithoutACurrentRow_data()
    {
        QTest::addColumn<QString>("finestra");
        QTest::newRow("municipalities") << u"TabComu"_s;
        QTest::newRow("states") << u"TabNaz"_s;
    }

    void confermaWithoutACurrentRow()
    {
        QFETCH(QString, finestra);
        Banco banco(false);
        const Picker &p = picker(finestra);
        auto w = banco.apri(finestra);
        banco.test.prompt.expect(p.nessunaRiga);
        press(w.get(), u"cmdSele2"_s);
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().back().title, p.titoloNessunaRiga);
        QCOMPARE(banco.test.prompt.shown().back().icon, Prompt::Icon::Warning);
        QVERIFY(w->isVisible());
        QCOMPARE(banco.scelti().ComuneScelto[0], QString());
        QCOMPARE(banco.scelti().StatoEsteroScelto.codice, QString());
        banco.test.prompt.expect(p.nonTrovato);
        cerca(w.get(), p, u"A"_s);
    }

    void leavingWithoutAChoice_data()
    {
        QTest::addColumn<QString>("finestra");
        QTest::addColumn<bool>("barraDelTitolo");
        QTest::newRow("TabComu, Annulla") << u"TabComu"_s << false;
        QTest::newRow("TabComu, title bar") << u"TabComu"_s << true;
        QTest::newRow("TabNaz, Annulla") << u"TabNaz"_s << false;
        QTest::newRow("TabNaz, title bar") << u"TabNaz"_s << true;
    }

    void leavingWithoutAChoice()
    {
        QFETCH(QString, finestra);
        QFETCH(bool, barraDelTitolo);
        Banco banco;
        const Picker &p = picker(finestra);
        banco.scelti().ComuneScelto = {u"c"_s, u"n"_s, u"p"_s, u"a"_s};
        banco.scelti().StatoEsteroScelto = {u"c"_s, u"n"_s};
        auto w = banco.apri(finestra);

        // A double click only moves the current row.
        auto *griglia = control<QTableView>(w.get(), p.griglia);
        const QRect riga = griglia->visualRect(griglia->model()->index(2, 1));
        QTest::mouseDClick(griglia->viewport(), Qt::LeftButton, {}, riga.center());
        QCOMPARE(nomeCorrente(w.get(), p), griglia->model()->index(2, 1).data().toString());
        QVERIFY(w->isVisible());

        if (barraDelTitolo)
            w->close();
        else
            press(w.get(), u"cmdEsci2"_s);
        QVERIFY(!w->isVisible());
        QCOMPARE(w->result(), int(QDialog::Rejected));
        QCOMPARE(banco.scelti().ComuneScelto, (std::array<QString, 4>{u"c"_s, u"n"_s, u"p"_s, u"a"_s}));
        QCOMPARE(banco.scelti().StatoEsteroScelto.codice, u"c"_s);
    }

    void reopening_data()
    {
        QTest::addColumn<QString>("finestra");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("riaperta");
        QTest::newRow("TabComu starts again on its first row") << u"TabComu"_s << u"FORL"_s << u"Agliè"_s;
        QTest::newRow("TabNaz shows the row where it was left") << u"TabNaz"_s << u"SVI"_s << u"SVIZZERA"_s;
    }

    void reopening()
    {
        QFETCH(QString, finestra);
        QFETCH(QString, testo);
        QFETCH(QString, riaperta);
        Banco banco;
        const Picker &p = picker(finestra);
        {
            auto w = banco.apri(finestra);
            cerca(w.get(), p, testo);
            press(w.get(), u"cmdEsci2"_s);
        }
        auto w = banco.apri(finestra);
        QCOMPARE(nomeCorrente(w.get(), p), riaperta);
    }
};

QTEST_MAIN(TestTabComu)
#include "tst_TabComu.moc"
