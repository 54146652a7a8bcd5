#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>

using namespace Qt::StringLiterals;

namespace {

/** The text of the block that holds the anchor of that name, or an empty text when there is none. */
QString bloccoDellAncora(const QTextDocument &document, const QString &name)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            if (fragment.fragment().charFormat().anchorNames().contains(name))
                return block.text().trimmed();
        }
    }
    return {};
}

} // namespace

/** The help file of the program has a topic for every context number the windows open. */
class TestFileAiuto : public QObject
{
    Q_OBJECT

private slots:
    void everyTopicHasItsAnchor_data()
    {
        QTest::addColumn<int>("topic");
        for (int topic : {1500, 2000, 3000, 4000, 8000, 9000, 9100, 11000, 12000, 15000, 18000, 18700, 20000,
                          22000, 23000})
            QTest::newRow(qPrintable(QString::number(topic))) << topic;
    }

    void everyTopicHasItsAnchor()
    {
        QFETCH(int, topic);
        QFile file(QStringLiteral(KX_TEST_DATA "/../../resources/help/KX58TORVA.htm"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromLatin1(file.readAll());
        const QRegularExpression anchor(u"<h2><a name=\"%1\"></a>([^<]+)</h2>\\s*<p>"_s.arg(topic));
        const QRegularExpressionMatch match = anchor.match(html);
        QVERIFY2(match.hasMatch(), "no titled section for the topic");
        QVERIFY(html.contains(u"href=\"#%1\""_s.arg(topic)));

        // The help viewer finds the anchor, on the topic's title.
        QTextBrowser browser;
        QUrl url = QUrl::fromLocalFile(file.fileName());
        url.setFragment(QString::number(topic));
        browser.setSource(url);
        QCOMPARE(bloccoDellAncora(*browser.document(), QString::number(topic)), match.captured(1));
    }

    void plainAscii()
    {
        QFile file(QStringLiteral(KX_TEST_DATA "/../../resources/help/KX58TORVA.htm"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        for (char c : bytes)
            QVERIFY2(uchar(c) < 128,
                     "accented letters are written as entities, whatever the file's reader assumes");
    }
};

QTEST_MAIN(TestFileAiuto)
#include "tst_FileAiuto.moc"
