#include "TestContext.h"
#include "core/services/ErrorBoxes.h"

#include <QTest>
#include <new>
#include <stdexcept>
#include <system_error>

using namespace Qt::StringLiterals;
using namespace kx;

class TestErrorBoxes : public QObject
{
    Q_OBJECT

private slots:
    void texts()
    {
        const RoutineError error(ErrorCode::FileNotFound);
        QCOMPARE(testoErrore(error), u"Errore 53\r\nImpossibile trovare il file"_s);
        QCOMPARE(testoErroreRoutine(u"VisLog"_s, error), u"VisLog - 53 - Impossibile trovare il file"_s);
        QCOMPARE(unexpectedErrorText(error),
                 u"Errore 53\r\nImpossibile trovare il file\r\n\r\nSi è verificato un "
                 u"errore imprevisto,scegliere riprova per ritentare l'operazione."_s);
    }

    void anyExceptionBecomesARoutineError_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::newRow("routine error") << 0 << 3021 << RoutineError::standardDescription(3021);
        QTest::newRow("out of memory") << 1 << 0 << u"Memoria insufficiente"_s;
        QTest::newRow("system error") << 2 << 0 << u"spazio su disco esaurito"_s;
        QTest::newRow("any other") << 3 << 0 << u"qualcosa è andato storto"_s;
    }

    void anyExceptionBecomesARoutineError()
    {
        QFETCH(int, kind);
        QFETCH(int, number);
        QFETCH(QString, description);
        RoutineError converted(-1, QString());
        try {
            switch (kind) {
            case 0:
                throw RoutineError(ErrorCode::NoCurrentRecord);
            case 1:
                throw std::bad_alloc();
            case 2:
                throw std::system_error(ENOSPC, std::generic_category());
            default:
                throw std::runtime_error("qualcosa è andato storto");
            }
        } catch (const std::exception &error) {
            converted = comeErroreRoutine(error);
        }
        QCOMPARE(converted.number(), number);
        QCOMPARE(converted.description(), description);
    }

    void retryRepeatsTheStep()
    {
        TestContext test;
        int attempts = 0;
        test.prompt.expect(unexpectedErrorText(RoutineError(ErrorCode::PathFileAccessError)),
                           Prompt::Answer::Retry);
        const int result = runWithRetry(test.context(), u"SalvaVarIni"_s, [&] {
            if (++attempts == 1)
                throw RoutineError(ErrorCode::PathFileAccessError);
            return 7;
        });
        QCOMPARE(result, 7);
        QCOMPARE(attempts, 2);
        const ShownBox box = test.prompt.shown().front();
        QCOMPARE(box.title, u"SalvaVarIni"_s);
        QCOMPARE(box.icon, Prompt::Icon::Warning);
        QCOMPARE(box.buttons, Prompt::Buttons::RetryCancel);
        QCOMPARE(box.text,
                 u"Errore 75\r\nErrore di accesso al percorso/file\r\n\r\nSi è verificato un errore "
                 u"imprevisto,scegliere riprova per ritentare l'operazione."_s);
    }

    void cancelEndsTheProgram()
    {
        TestContext test;
        test.prompt.expect(unexpectedErrorText(RoutineError(ErrorCode::Overflow)), Prompt::Answer::Cancel);
        QVERIFY_THROWS_EXCEPTION(ProgramExited, runWithRetry(test.context(), u"x"_s, []() -> int {
                                     throw RoutineError(ErrorCode::Overflow);
                                 }));
        QVERIFY(test.programExit.exited());
    }
};

QTEST_GUILESS_MAIN(TestErrorBoxes)
#include "tst_ErrorBoxes.moc"
