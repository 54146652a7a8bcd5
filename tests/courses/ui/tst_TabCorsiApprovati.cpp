#include "WindowTesting.h"
#include "core/data/Recordset.h"
#include "core/ui/ImageButton.h"
#include "courses/ui/TabCorsiApprovati.h"
#include "tests/courses/BancoCorsiApprovati.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

using namespace kx;

namespace {

const QString NessunCorso = u"Nessun Corso Approvato scaricato. Impossibile selezionarne uno"_s;
const QString NessunTrovato = u"Nessun corso trovato"_s;

constexpr int ColonnaId = 0;
constexpr int ColonnaDenCorso = 9;

struct Banco : BancoCorsiApprovati
{
    /** The picker as the editor shows it, on the seat and cycle. */
    std::unique_ptr<TabCorsiApprovati> apri(const QString &sede, const QString &ciclo)
    {
        sedeECiclo(sede, ciclo);
        auto finestra = std::make_unique<TabCorsiApprovati>(test.context());
        finestra->show();
        QApplication::setActiveWindow(finestra.get());
        return finestra;
    }
};

QTableView *griglia(QWidget *w)
{
    return control<QTableView>(w, u"GrdCorsi"_s);
}

/** The IdAttivita of the grid's current row; 0 when there is none. */
int corrente(QWidget *w)
{
    const QModelIndex indice = griglia(w)->currentIndex();
    if (!indice.isValid())
        return 0;
    return griglia(w)->model()->index(indice.row(), ColonnaId).data().toInt();
}

void cerca(QWidget *w, const QString &testo)
{
    control<QLineEdit>(w, u"txtRicDenom"_s)->setText(testo);
    press(w, u"cmdCerca2"_s);
}

void invio(QWidget *w, const QString &testo)
{
    auto *box = control<QLineEdit>(w, u"txtRicDenom"_s);
    box->setText(testo);
    QTest::keyClick(box, Qt::Key_Return);
}

/** Makes the row of the approved course current, as a click on it does. */
void scegliRiga(QWidget *w, int idAttivita)
{
    QAbstractItemModel *m = griglia(w)->model();
    for (int riga = 0; riga < m->rowCount(); ++riga)
        if (m->index(riga, ColonnaId).data().toInt() == idAttivita) {
            griglia(w)->setCurrentIndex(m->index(riga, ColonnaDenCorso));
            return;
        }
    throw UnexpectedCall(u"no row %1"_s.arg(idAttivita));
}

} // namespace

class TestTabCorsiApprovati : public QObject
{
    Q_OBJECT

private slots:
    void theGridsVisibleColumns()
    {
        Banco banco;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        auto w = banco.apri(u"2"_s, u"2021"_s);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QCOMPARE(w->objectName(), u"TabCorsiApprovati"_s);
        QCOMPARE(w->windowTitle(), u"Elenco Corsi Approvati e Finanziati"_s);
        QCOMPARE(control<QLabel>(w.get(), u"Label1"_s)->text(), u"Denominazione Corso"_s);
        QCOMPARE(control<QAbstractButton>(w.get(), u"cmdCerca2"_s)->text(), u"Cerca"_s);
        QCOMPARE(control<QAbstractButton>(w.get(), u"cmdSele2"_s)->property("picture").toString(),
                 u"imgConferma"_s);
        QCOMPARE(control<QAbstractButton>(w.get(), u"cmdEsci2"_s)->property("picture").toString(),
                 u"imgAnnulla"_s);
        QVERIFY(control<QAbstractButton>(w.get(), u"cmdSele2"_s)->isEnabled());

        QTableView *g = griglia(w.get());
        QAbstractItemModel *m = g->model();
        QCOMPARE(m->columnCount(), 57);
        const Qt::Alignment sinistra = Qt::AlignLeft | Qt::AlignVCenter;
        const Qt::Alignment centro = Qt::AlignHCenter | Qt::AlignVCenter;
        const Qt::Alignment destra = Qt::AlignRight | Qt::AlignVCenter;
        const QList<std::tuple<int, QString, Qt::Alignment>> visibili{
            {0, u"IdAttivita"_s, sinistra},
            {2, u"GrupOpe"_s, sinistra},
            {3, u"Operatore"_s, sinistra},
            {4, u"Progr.Attività"_s, centro},
            {6, u"Progr.Accorp."_s, centro},
            {9, u"Denom. Corso"_s, sinistra},
            {10, u"Comp.Resp."_s, destra},
            {11, QString(), sinistra},
            {19, u"Sede Occ."_s, destra},
            {20, QString(), sinistra},
            {43, u"Tot. Ore Iter"_s, sinistra},
            {44, u"Durata Anni"_s, sinistra},
            {50, u"Progr.Att. provvisorio"_s, centro},
            {56, u"Tipo Rapporto"_s, centro},
        };
        QList<int> mostrate;
        for (int c = 0; c < m->columnCount(); ++c)
            if (!g->isColumnHidden(c))
                mostrate.append(c);
        QList<int> attese;
        for (const auto &[colonna, intestazione, allineamento] : visibili) {
            attese.append(colonna);
            QCOMPARE(m->headerData(colonna, Qt::Horizontal).toString(), intestazione);
            QCOMPARE(m->index(0, colonna).data(Qt::TextAlignmentRole).value<Qt::Alignment>(), allineamento);
        }
        QCOMPARE(mostrate, attese);
        // Hidden columns keep their places: the cycle is not among them, the contract's kind is last.
        QCOMPARE(m->headerData(1, Qt::Horizontal).toString(), u"IdCorsoPrincipale"_s);
        QCOMPARE(m->headerData(41, Qt::Horizontal).toString(), u"Ore Annuali"_s);
        QCOMPARE(m->headerData(55, Qt::Horizontal).toString(), u"PROV"_s);

        QCOMPARE(m->rowCount(), 4);
        QCOMPARE(m->index(0, 11).data().toString(), u"SEDE OPERATIVA DUE"_s);
        QCOMPARE(m->index(3, 20).data().toString(), u"PALESTRA"_s);
        QCOMPARE(m->index(0, 56).data().toString(), u"AF"_s);
        QCOMPARE(corrente(w.get()), 5001);
    }

    void noCourseToOffer()
    {
        Banco banco;
        banco.corsi().CorsoApprovatoScelto = CorsoApprovato();
        banco.test.prompt.expect(NessunCorso);
        auto w = banco.apri(u"1002"_s, u"2021"_s);
        const ShownBox box = banco.test.prompt.shown().constLast();
        QCOMPARE(box.title, u"Corsi Approvati"_s);
        QCOMPARE(box.icon, Prompt::Icon::Warning);
        QVERIFY(w->isVisible());
        auto *conferma = control<ImageButton>(w.get(), u"cmdSele2"_s);
        QVERIFY(!conferma->isEnabled());
        QCOMPARE(conferma->shownPicture(), u"imgConfermaD"_s);
        press(w.get(), u"cmdEsci2"_s);
        QCOMPARE(w->result(), int(QDialog::Rejected));
        QVERIFY(!banco.corsi().CorsoApprovatoScelto.scelto());
        Recordset &rs = banco.test.context().DE().rs(u"QryCorsiApprovati"_s);
        QVERIFY(!rs.isOpen());
        QVERIFY(rs.filter().isEmpty());
    }

    void theSearch_data()
    {
        QTest::addColumn<QString>("prima");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<bool>("manca");
        QTest::addColumn<int>("trovato");

        QTest::newRow("a part of the name") << QString() << u"ARTE"_s << false << 5002;
        QTest::newRow("in lower case") << QString() << u"palestra"_s << false << 5006;
        QTest::newRow("an apostrophe") << QString() << u"DELL'ARTE"_s << false << 5002;
        QTest::newRow("a percent sign") << QString() << u"100%"_s << false << 5003;
        QTest::newRow("star and question mark") << QString() << u"*AVANZATO?*"_s << false << 5003;
        QTest::newRow("from the first row, whatever the row shown")
            << u"PALESTRA"_s << u"CORSO"_s << false << 5002;
        QTest::newRow("a miss goes back to the row shown before")
            << u"PALESTRA"_s << u"NUOTO"_s << true << 5006;
        QTest::newRow("a wildcard is no wildcard") << u"ARTE"_s << u"CORSO*PALESTRA"_s << true << 5002;
        QTest::newRow("an apostrophe that matches nothing") << u"ARTE"_s << u"L'ALTRO"_s << true << 5002;
    }

    void theSearch()
    {
        QFETCH(QString, prima);
        QFETCH(QString, testo);
        QFETCH(bool, manca);
        QFETCH(int, trovato);

        Banco banco;
        auto w = banco.apri(u"2"_s, u"2021"_s);
        if (!prima.isEmpty())
            cerca(w.get(), prima);
        if (manca)
            banco.test.prompt.expect(NessunTrovato);
        cerca(w.get(), testo);
        QVERIFY(banco.test.prompt.allShown());
        if (manca) {
            QCOMPARE(banco.test.prompt.shown().constLast().title, u"Ricerca Corso"_s);
            QCOMPARE(banco.test.prompt.shown().constLast().icon, Prompt::Icon::Warning);
        }
        QCOMPARE(corrente(w.get()), trovato);
        QCOMPARE(banco.test.context().DE().rs(u"QryCorsiApprovati"_s).value(u"IdAttivita"_s).toInt(),
                 trovato);
    }

    void theSearchBoxTakesCapitals()
    {
        Banco banco;
        auto w = banco.apri(u"2"_s, u"2021"_s);
        auto *box = control<QLineEdit>(w.get(), u"txtRicDenom"_s);
        QTest::keyClicks(box, u"arte"_s);
        QCOMPARE(box->text(), u"ARTE"_s);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(corrente(w.get()), 5002);
        QVERIFY(w->isVisible());
    }

    void anEmptyTextSearchesOnlyWithEnter()
    {
        Banco banco;
        auto w = banco.apri(u"2"_s, u"2021"_s);
        cerca(w.get(), u"PALESTRA"_s);
        QCOMPARE(corrente(w.get()), 5006);
        cerca(w.get(), QString());
        QCOMPARE(corrente(w.get()), 5006);
        invio(w.get(), QString());
        QCOMPARE(corrente(w.get()), 5001);
        QVERIFY(w->isVisible());
    }

    void confermaCopiesTheNineFields()
    {
        Banco banco;
        auto w = banco.apri(u"2"_s, u"2021"_s);
        scegliRiga(w.get(), 5001);
        press(w.get(), u"cmdSele2"_s);
        QCOMPARE(w->result(), int(QDialog::Accepted));
        const CorsoApprovato &scelto = banco.corsi().CorsoApprovatoScelto;
        QCOMPARE(scelto.IdAttivita, 5001);
        QCOMPARE(scelto.ProgrAttivita, u"2019-0001"_s);
        QCOMPARE(scelto.DenCorso, u"OPERATORE SOCIO SANITARIO PER LE STRUTTURE RESIDENZIALI"_s);
        QCOMPARE(scelto.Componente, 2);
        QCOMPARE(scelto.TotIter, 1200);
        QCOMPARE(scelto.DurataAnnOre, 600);
        QCOMPARE(scelto.Durata, 2);
        QCOMPARE(scelto.TipoConv, u"AF"_s);
        QCOMPARE(scelto.ProgrAccorp, u"3"_s);
        Recordset &rs = banco.test.context().DE().rs(u"QryCorsiApprovati"_s);
        QVERIFY(!rs.isOpen());
        QVERIFY(rs.filter().isEmpty());
    }

    void anOccasionalSeatOffersTheCoursesHeldThere()
    {
        Banco banco;
        auto w = banco.apri(u"1001"_s, u"2021"_s);
        QCOMPARE(griglia(w.get())->model()->rowCount(), 2);
        QCOMPARE(corrente(w.get()), 5006);
        scegliRiga(w.get(), 5007);
        press(w.get(), u"cmdSele2"_s);
        QCOMPARE(banco.corsi().CorsoApprovatoScelto.IdAttivita, 5007);
        QCOMPARE(banco.corsi().CorsoApprovatoScelto.Componente, 3);
    }

    void closingByTheTitleBarChoosesNothing()
    {
        Banco banco;
        auto w = banco.apri(u"2"_s, u"2021"_s);
        w->close();
        QVERIFY(!banco.corsi().CorsoApprovatoScelto.scelto());
        QVERIFY(!banco.test.context().DE().rs(u"QryCorsiApprovati"_s).isOpen());
    }
};

QTEST_MAIN(TestTabCorsiApprovati)
#include "tst_TabCorsiApprovati.moc"
