#include "core/ui/ListaSelezione.h"

#include <QComboBox>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** A list of coded items and the items its handler saw selected. */
struct Lista
{
    QComboBox combo;
    QStringList viste;
    ListaSelezione lista{&combo, [this] { viste << lista.testo(); }};

    Lista() { lista.riempi({QString(), u"01  Primo"_s, u"02  Secondo"_s, u"02  Doppio"_s}); }
};

} // namespace

class TestListaSelezione : public QObject
{
    Q_OBJECT

private slots:
    void fillingSelectsNothingAndRunsNothing()
    {
        Lista l;
        QCOMPARE(l.lista.indice(), -1);
        QCOMPARE(l.lista.testo(), QString());
        QCOMPARE(l.lista.codice(), QString());
        QVERIFY(!l.combo.isEditable());
        l.lista.selezionaIndice(1);
        l.lista.svuota();
        QCOMPARE(l.lista.indice(), -1);
        QCOMPARE(l.lista.conteggio(), 0);
        QCOMPARE(l.viste, QStringList{u"01  Primo"_s});
    }

    void selectingRunsTheHandler_data()
    {
        QTest::addColumn<QString>("modo");
        QTest::addColumn<QString>("valore");
        QTest::addColumn<bool>("trovato");
        QTest::addColumn<QString>("scelto");

        QTest::newRow("by position") << u"indice"_s << u"2"_s << true << u"02  Secondo"_s;
        QTest::newRow("by position, none there") << u"indice"_s << u"9"_s << false << QString();
        QTest::newRow("by exact text") << u"testo"_s << u"02  Doppio"_s << true << u"02  Doppio"_s;
        QTest::newRow("by a text no item has") << u"testo"_s << u"02 Doppio"_s << false << QString();
        QTest::newRow("by code, the first with it") << u"codice"_s << u"02"_s << true << u"02  Secondo"_s;
        QTest::newRow("by the empty code") << u"codice"_s << QString() << true << QString();
        QTest::newRow("by a code no item has") << u"codice"_s << u"03"_s << false << QString();
    }

    void selectingRunsTheHandler()
    {
        QFETCH(QString, modo);
        QFETCH(QString, valore);
        QFETCH(bool, trovato);
        QFETCH(QString, scelto);

        Lista l;
        bool esito = false;
        if (modo == u"indice")
            esito = l.lista.selezionaIndice(valore.toInt());
        else if (modo == u"testo")
            esito = l.lista.selezionaTesto(valore);
        else
            esito = l.lista.selezionaCodice(valore);

        QCOMPARE(esito, trovato);
        QCOMPARE(l.viste, trovato ? QStringList{scelto} : QStringList());
        QCOMPARE(l.lista.testo(), scelto);
        QCOMPARE(l.lista.indice() >= 0, trovato);
    }

    void anItemOutsideTheListGoesAwayAlone()
    {
        Lista l;
        l.lista.aggiungiFuoriElenco(u"07  Tolto"_s);
        QCOMPARE(l.viste, QStringList{u"07  Tolto"_s});
        QCOMPARE(l.lista.codice(), u"07"_s);
        l.lista.togliFuoriElenco();
        QCOMPARE(l.lista.indice(), -1);
        QCOMPARE(l.lista.conteggio(), 4);
        QCOMPARE(l.lista.voce(3), u"02  Doppio"_s);
        // The list's own items stay, and so does a selection among them.
        l.lista.aggiungiFuoriElenco(u"07  Tolto"_s);
        l.lista.selezionaIndice(1);
        l.lista.togliFuoriElenco();
        QCOMPARE(l.lista.testo(), u"01  Primo"_s);
        QCOMPARE(l.lista.conteggio(), 4);
        QCOMPARE(l.viste, (QStringList{u"07  Tolto"_s, u"07  Tolto"_s, u"01  Primo"_s}));
    }

    void aMissingTextKeepsTheSelection()
    {
        Lista l;
        l.lista.selezionaIndice(1);
        QVERIFY(!l.lista.selezionaTesto(u"nessuno"_s));
        QCOMPARE(l.lista.testo(), u"01  Primo"_s);
        QCOMPARE(l.lista.codice(), u"01"_s);
        QCOMPARE(l.viste.size(), 1);
    }

    void theUsersChoiceRunsTheHandler()
    {
        Lista l;
        l.combo.show();
        l.combo.setFocus();
        QTest::keyClick(&l.combo, Qt::Key_Down);
        QCOMPARE(l.viste.size(), 1);
        QCOMPARE(l.viste.front(), l.combo.currentText());
    }
};

QTEST_MAIN(TestListaSelezione)
#include "tst_ListaSelezione.moc"
