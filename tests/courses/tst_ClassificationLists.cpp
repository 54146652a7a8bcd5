#include "core/services/RoutineError.h"
#include "courses/ClassificationLists.h"
#include "tests/courses/BancoCorsi.h"

#include <QTest>

using namespace kx;

namespace {

QStringList ordinate(QStringList voci)
{
    voci.sort();
    return voci;
}

} // namespace

class TestClassificationLists : public QObject
{
    Q_OBJECT

private slots:
    void cyclesAndAxesOfTheProvince()
    {
        BancoCorsi banco;
        QCOMPARE(IniCmbCicloFin(banco.connessione()),
                 (QStringList{u""_s, u"2014  PROGRAMMAZIONE 2014"_s, u"2021  PROGRAMMAZIONE 2021"_s}));
        QCOMPARE(IniAsse(banco.connessione()),
                 (QStringList{u""_s, u"1  OCCUPAZIONE"_s, u"2  INCLUSIONE"_s, u"3  CAPACITA"_s}));
    }

    void measures_data()
    {
        QTest::addColumn<QString>("asse");
        QTest::addColumn<QStringList>("voci");

        const QStringList tutte{u""_s, u"8II  ORIENTAMENTO"_s, u"8III  TIROCINI"_s, u"9I  SOSTEGNO"_s,
                                u"G  SENZA AZIONI"_s};
        QTest::newRow("no axis: every measure of the province") << QString() << tutte;
        QTest::newRow("a blank axis entry counts as none") << u" "_s << tutte;
        QTest::newRow("the axis shown")
            << u"1  OCCUPAZIONE"_s << QStringList{u""_s, u"8II  ORIENTAMENTO"_s, u"8III  TIROCINI"_s};
        QTest::newRow("an axis of another province") << u"9  ALTRA PROVINCIA"_s << QStringList{u""_s};
        QTest::newRow("a quote in the code is only a value") << u"1'  X"_s << QStringList{u""_s};
    }

    void measures()
    {
        QFETCH(QString, asse);
        QFETCH(QStringList, voci);
        BancoCorsi banco;
        QCOMPARE(IniMisura(banco.connessione(), asse), voci);
    }

    void actions_data()
    {
        QTest::addColumn<QString>("asse");
        QTest::addColumn<QString>("misura");
        QTest::addColumn<QStringList>("voci");

        QTest::newRow("neither: every action of the province")
            << QString() << QString()
            << QStringList{u""_s, u"2.04.07  LARSA"_s, u"2.04.08  LABORATORI"_s, u"1.01  TIROCINIO"_s,
                           u"7.01.01  SOSTEGNI"_s};
        QTest::newRow("the axis only")
            << u"2  INCLUSIONE"_s << QString() << QStringList{u""_s, u"7.01.01  SOSTEGNI"_s};
        QTest::newRow("axis and measure")
            << u"1  OCCUPAZIONE"_s << u"8II  ORIENTAMENTO"_s
            << QStringList{u""_s, u"2.04.07  LARSA"_s, u"2.04.08  LABORATORI"_s};
        QTest::newRow("a measure without enabled actions")
            << u"3  CAPACITA"_s << u"G  SENZA AZIONI"_s << QStringList{u""_s};
    }

    void actions()
    {
        QFETCH(QString, asse);
        QFETCH(QString, misura);
        QFETCH(QStringList, voci);
        BancoCorsi banco;
        QCOMPARE(IniAzione(banco.connessione(), asse, misura), voci);
    }

    void namesAndTargetGroupsFollowTheActionCode()
    {
        BancoCorsi banco;
        Connection &db = banco.connessione();
        QCOMPARE(ordinate(IniDenCorso(db, u"1.8II.2.04.07"_s)),
                 (QStringList{u""_s, u"Integrazione di persone portatrici di handicap"_s,
                              u"LARSA - Formazione / Scuola"_s}));
        QCOMPARE(IniDesta(db, u"1.8II.2.04.07"_s), (QStringList{u""_s, u"1  STUDENTI"_s, u"12  DISABILI"_s}));
        QCOMPARE(IniDesta(db, u"2.9I.7.01.01"_s), (QStringList{u""_s, u"1  STUDENTI"_s}));
        // The database compares its texts without regard to case.
        QCOMPARE(IniDenCorso(db, u"2.9i.7.01.01"_s),
                 (QStringList{u""_s, u"Azione di sostegno individuale"_s}));
        QCOMPARE(IniDenCorso(db, u".."_s), QStringList{u""_s});
        QCOMPARE(IniDesta(db, u".."_s), QStringList{u""_s});
        QCOMPARE(IniDesta(db, u"1.8III.1.01"_s), QStringList{u""_s});
    }

    void aNullCourseNameFails()
    {
        BancoCorsi banco;
        banco.db.insert(u"AzioneDenomCorso"_s,
                        {u"CodAsse"_s, u"CodMisura"_s, u"CodAzione"_s, u"CodDenom"_s, u"DesAzione"_s},
                        {{u"1"_s, u"8III"_s, u"1.01"_s, 1, QVariant()}});
        QCOMPARE(errorOf([&] { IniDenCorso(banco.connessione(), u"1.8III.1.01"_s); }).number(),
                 ErrorCode::InvalidUseOfNull);
    }

    void actionCodes_data()
    {
        QTest::addColumn<QString>("asse");
        QTest::addColumn<QString>("misura");
        QTest::addColumn<QString>("azione");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("special");
        QTest::addColumn<QStringList>("durations");

        const QStringList una{u""_s, u"1"_s};
        const QStringList nessuna{u""_s};
        QTest::newRow("the approved-course action")
            << u"1  X"_s << u"8II  Y"_s << u"2.04.07  Z"_s << u"1.8II.2.04.07"_s << true << una;
        QTest::newRow("the other special action")
            << u"2  X"_s << u"9I  Y"_s << u"7.01.01  Z"_s << u"2.9I.7.01.01"_s << true << una;
        QTest::newRow("letter case counts")
            << u"1  X"_s << u"8ii  Y"_s << u"2.04.07  Z"_s << u"1.8ii.2.04.07"_s << false << nessuna;
        QTest::newRow("an ordinary action")
            << u"1  X"_s << u"8II  Y"_s << u"2.04.08  Z"_s << u"1.8II.2.04.08"_s << false << nessuna;
        QTest::newRow("every list blank")
            << QString() << QString() << QString() << u".."_s << false << nessuna;
        QTest::newRow("an axis alone") << u"1  X"_s << QString() << QString() << u"1.."_s << false << nessuna;
    }

    void actionCodes()
    {
        QFETCH(QString, asse);
        QFETCH(QString, misura);
        QFETCH(QString, azione);
        QFETCH(QString, code);
        QFETCH(bool, special);
        QFETCH(QStringList, durations);
        QCOMPARE(actionCode(asse, misura, azione), code);
        QCOMPARE(isSpecialAction(code), special);
        QCOMPARE(IniComp(code), durations);
    }

    void responsibleComponents_data()
    {
        QTest::addColumn<QString>("sede");
        QTest::addColumn<QString>("prima");
        QTest::addColumn<QStringList>("voci");
        QTest::addColumn<int>("preselezione");

        const QString due = u"2   - SEDE OPERATIVA DI UN NOME MOLTO LUN - SO - VIA PO 2"_s;
        QTest::newRow("a component's seat has none") << u"1"_s << QString() << QStringList{u""_s} << -1;
        // Component 4 uses the seat but is not in the application; operator 13's component is not ours.
        QTest::newRow("a seat used by one component")
            << u"1001"_s << QString() << QStringList{u""_s, due} << 1;
        // The occasional seat 1001 registered as a user is no component.
        QTest::newRow("a seat used by two components")
            << u"1002"_s << QString() << QStringList{u""_s, due, u"3   - TERZA - SO - "_s} << -1;
        QTest::newRow("a seat of four digits in the snapshot is offered whole")
            << u"1002"_s
            << u"UPDATE CorsiSediInteressate SET TipoCompo = 'SO' WHERE NumDoma = 7 AND SedeInteressata = 1001"_s
            << QStringList{u""_s, due, u"3   - TERZA - SO - "_s, u"1001 - PALESTRA - SO - VIA SPORT"_s} << -1;
    }

    void responsibleComponents()
    {
        QFETCH(QString, sede);
        QFETCH(QString, prima);
        QFETCH(QStringList, voci);
        QFETCH(int, preselezione);
        BancoCorsi banco;
        if (!prima.isEmpty())
            banco.db.execute(prima);
        const ComponentiResponsabili componenti = IniCompoResp(banco.connessione(), 7, u"A"_s, u"12"_s, sede);
        QCOMPARE(componenti.voci, voci);
        QCOMPARE(componenti.preselezione, preselezione);
    }
};

QTEST_GUILESS_MAIN(TestClassificationLists)
#include "tst_ClassificationLists.moc"
