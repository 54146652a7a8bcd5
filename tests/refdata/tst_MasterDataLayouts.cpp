#include "TestContext.h"
#include "core/files/TextRecords.h"
#include "refdata/MasterDataLayouts.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** The values a layout takes from the record, by column. */
QVariantMap valori(const Tracciato &tracciato, const QStringList &fields)
{
    CampiRecord Campi;
    ScomponiRecord(Campi, u"#"_s + fields.join(u"#,#"_s) + u"#"_s);
    QVariantMap values;
    for (const CampoTracciato &campo : tracciato.campi)
        values.insert(campo.colonna, valoreCampo(campo, Campi));
    return values;
}

const QString Nome120 = QString(118, u'N') + u"XY"_s;

} // namespace

class TestMasterDataLayouts : public QObject
{
    Q_OBJECT

private slots:
    void operatorRecord()
    {
        const QVariantMap values =
            valori(TracciatoOper(), {u"A "_s, u"12"_s, Nome120, u"01X"_s, u"  RSSMRA60B01A944Z"_s,
                                     u"012345678901"_s, u"ROSSI MARIO"_s, u"BOLOGNA"_s, u"BO"_s,
                                     u"01021960"_s, u"BO"_s, u"1234567"_s, u"1990"_s, u"8042"_s, u"oltre"_s});
        QCOMPARE(values.value(u"GrupOpe"_s), QVariant(u"A"_s));
        QCOMPARE(values.value(u"Operatore"_s).toLongLong(), 12);
        QCOMPARE(values.value(u"Denominazione"_s).toString(), QString(100, u'N'));
        QCOMPARE(values.value(u"TipoOper"_s), QVariant(u"01"_s));
        // The cut comes first: two leading blanks cost two characters of the tax code.
        QCOMPARE(values.value(u"CodFisc"_s), QVariant(u"RSSMRA60B01A94"_s));
        QCOMPARE(values.value(u"PIva"_s), QVariant(u"01234567890"_s));
        QCOMPARE(values.value(u"LegGGNasc"_s), QVariant(u"01"_s));
        QCOMPARE(values.value(u"LegMMNasc"_s), QVariant(u"02"_s));
        QCOMPARE(values.value(u"LegAAAANasc"_s), QVariant(u"1960"_s));
        QCOMPARE(values.value(u"AnnoCCIAA"_s), QVariant(u"1990"_s));
        QCOMPARE(values.value(u"AttEcono"_s).toLongLong(), 8042);
        QCOMPARE(values.size(), 16);
    }

    void birthDateIsCutByPosition_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("eight digits") << u"31121999"_s << QStringList{u"31"_s, u"12"_s, u"1999"_s};
        QTest::newRow("shorter") << u"0103"_s << QStringList{u"01"_s, u"03"_s, QString()};
        QTest::newRow("blanks trimmed") << u"1 0 2001"_s << QStringList{u"1"_s, u"0"_s, u"2001"_s};
        QTest::newRow("empty") << QString() << QStringList{QString(), QString(), QString()};
    }

    void birthDateIsCutByPosition()
    {
        QFETCH(QString, field);
        QFETCH(QStringList, parts);
        QStringList fields(14, u"1"_s);
        fields[9] = field;
        const QVariantMap values = valori(TracciatoOper(), fields);
        QCOMPARE(
            (QStringList{values.value(u"LegGGNasc"_s).toString(), values.value(u"LegMMNasc"_s).toString(),
                         values.value(u"LegAAAANasc"_s).toString()}),
            parts);
    }

    void componentRecordSkipsItsUnreadFields()
    {
        QStringList fields;
        for (int i = 0; i < 14; ++i)
            fields.append(u"f"_s + QString::number(i));
        fields[1] = u"12"_s;
        fields[2] = u"3"_s;
        const QVariantMap values = valori(TracciatoCompo(), fields);
        QCOMPARE(values.value(u"Componente"_s).toLongLong(), 3);
        QCOMPARE(values.value(u"TipoCompo"_s), QVariant(u"f3"_s));
        QCOMPARE(values.value(u"Tel"_s), QVariant(u"f9"_s));
        QCOMPARE(values.value(u"Fax"_s), QVariant(u"f11"_s));
        QCOMPARE(values.value(u"CittaEstero"_s), QVariant(u"f13"_s));
        for (const QVariant &value : values)
            QVERIFY(value.toString() != u"f8" && value.toString() != u"f10");
    }

    void occasionalSeatRecordSkipsItsUnreadFields()
    {
        const QVariantMap values =
            valori(TracciatoSediOcc(), {u"1001"_s, u"AULA"_s, u"VIA ROMA 1"_s, u"037006"_s, u"40121"_s,
                                        u"pref"_s, u"051111"_s, u"prefax"_s, u"051222"_s});
        QCOMPARE(values.value(u"SedeOcc"_s).toLongLong(), 1001);
        QCOMPARE(values.value(u"Tel"_s), QVariant(u"051111"_s));
        QCOMPARE(values.value(u"Fax"_s), QVariant(u"051222"_s));
        QCOMPARE(values.size(), 7);
    }

    void numbersFollowTheDataFileRule_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("error");
        QTest::addColumn<qlonglong>("value");
        QTest::newRow("digits") << u"1001"_s << 0 << 1001LL;
        QTest::newRow("leading zeros") << u"007"_s << 0 << 7LL;
        QTest::newRow("empty") << QString() << 13 << 0LL;
        QTest::newRow("letters") << u"12A"_s << 13 << 0LL;
        QTest::newRow("fraction") << u"12,5"_s << 13 << 0LL;
        QTest::newRow("beyond 32 bits") << u"2147483648"_s << 6 << 0LL;
        QTest::newRow("beyond 16 bits") << u"40000"_s << 0 << 40000LL;
    }

    void numbersFollowTheDataFileRule()
    {
        QFETCH(QString, field);
        QFETCH(int, error);
        QFETCH(qlonglong, value);
        const QStringList fields{u"A"_s, u"12"_s, u"3"_s, field};
        QVariant converted;
        const RoutineError raised =
            errorOf([&] { converted = valori(TracciatoSediOccUtil(), fields).value(u"SedeOcc"_s); });
        QCOMPARE(raised.number(), error);
        if (error == 0)
            QCOMPARE(converted.toLongLong(), value);
    }
};

QTEST_GUILESS_MAIN(TestMasterDataLayouts)
#include "tst_MasterDataLayouts.moc"
