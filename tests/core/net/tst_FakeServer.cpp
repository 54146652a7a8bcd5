#include "FakeServer.h"
#include "TestContext.h"
#include "core/files/TextRecords.h"
#include "core/state/InstallationState.h"

#include <QTest>

using namespace Qt::StringLiterals;

/** The fake server's own building blocks, held to what the program reads. */
class tst_FakeServer : public QObject
{
    Q_OBJECT

private slots:
    void aBundleSplitsIntoTheFilesItNames()
    {
        const QByteArray bundle = downloadBundle(
            {{u"oper.tx1"_s, {{u"A"_s, u"12"_s, u"Società Formazione"_s}, {u"B"_s, u"7"_s, u"Enti & Co"_s}}},
             {u"compo.tx1"_s, {{u"A"_s, u"12"_s, u"1"_s}}},
             {u"sediocc.tx1"_s, {}}});
        QCOMPARE(bundle,
                 QByteArray("oper.tx1\r\n#A#,#12#,#Societ\xe0 Formazione#\r\n#B#,#7#,#Enti & Co#\r\nEOF\r\n"
                            "compo.tx1\r\n#A#,#12#,#1#\r\nEOF\r\n"
                            "sediocc.tx1\r\nEOF\r\n"));
        TestContext test;
        test.context().installazione().PercorsoDB = test.path(u"KX58TORVA.mdb"_s);
        test.writeFile(u"$tmpDenOp.tx1"_s, bundle);

        QVERIFY(::SeparaFileScaricato(test.context().programFolder(),
                                      test.context().installazione().PercorsoDB, u"$tmpDenOp.tx1"_s)
                    .riuscito());

        QCOMPARE(test.readFile(u"oper.tx1"_s),
                 QByteArray("#A#,#12#,#Societ\xe0 Formazione#\r\n#B#,#7#,#Enti & Co#\r\n"));
        QCOMPARE(test.readFile(u"compo.tx1"_s), QByteArray("#A#,#12#,#1#\r\n"));
        QVERIFY(test.readFile(u"sediocc.tx1"_s).isEmpty());
    }
};

QTEST_MAIN(tst_FakeServer)
#include "tst_FakeServer.moc"
