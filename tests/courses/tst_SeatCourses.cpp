#include "courses/SeatCourses.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestSeatCourses : public QObject
{
    Q_OBJECT

private slots:
    void theNeighbourIsTheNextCourseElseThePrevious_data()
    {
        QTest::addColumn<QStringList>("codici");
        QTest::addColumn<QString>("cancellato");
        QTest::addColumn<QString>("vicino");
        const QStringList tre{u"0001"_s, u"0002"_s, u"0005"_s};
        QTest::newRow("first") << tre << u"0001"_s << u"0002"_s;
        QTest::newRow("middle") << tre << u"0002"_s << u"0005"_s;
        QTest::newRow("last") << tre << u"0005"_s << u"0002"_s;
        QTest::newRow("only") << QStringList{u"0001"_s} << u"0001"_s << QString();
        QTest::newRow("not among them") << tre << u"0003"_s << QString();
    }
    void theNeighbourIsTheNextCourseElseThePrevious()
    {
        QFETCH(QStringList, codici);
        QFETCH(QString, cancellato);
        QFETCH(QString, vicino);
        QCOMPARE(neighbourAfterDelete(codici, cancellato).value_or(QString()), vicino);
    }
};

QTEST_GUILESS_MAIN(TestSeatCourses)
#include "tst_SeatCourses.moc"
