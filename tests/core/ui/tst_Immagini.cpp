#include "TestContext.h"
#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** How many pixels of the picture are not transparent. */
int paintedPixels(const QPixmap &pixmap)
{
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0;
    }
    return count;
}

bool hasColour(const QPixmap &pixmap)
{
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (qAlpha(c) > 0 && (qRed(c) != qGreen(c) || qGreen(c) != qBlue(c)))
                return true;
        }
    }
    return false;
}

} // namespace

class TestImmagini : public QObject
{
    Q_OBJECT

private slots:
    void everyPictureTheWindowsAskFor_data()
    {
        QTest::addColumn<QString>("name");
        const QStringList names = {
            u"imgConferma"_s, u"imgAnnulla"_s,  u"imgSalva"_s,    u"imgHelp"_s,     u"imgExit"_s,
            u"ImgSedeLeg"_s,  u"imgPrimo"_s,    u"imgDietro"_s,   u"imgAvanti"_s,   u"imgUltimo"_s,
            u"imgVai"_s,      u"imgNuovo"_s,    u"imgDuplica"_s,  u"imgCance"_s,    u"imgStampa"_s,
            u"ImgImpSt"_s,    u"imgStBozza"_s,  u"imgSend"_s,     u"imgMail"_s,     u"imgAggiorna"_s,
            u"ImgVORDAN"_s,   u"ImgScaCorsi"_s, u"imgOperator"_s, u"imgComponen"_s, u"imgCorsi"_s,
            u"imgRiass"_s,    u"imgBackup"_s,
        };
        for (const QString &name : names)
            QTest::newRow(qPrintable(name)) << name;
    }

    void everyPictureTheWindowsAskFor()
    {
        QFETCH(QString, name);
        QVERIFY(Immagini::buttonPictures().contains(name));
        QVERIFY(!Immagini::buttonPictures().contains(name + u'D'));
        QVERIFY(Immagini::contains(name));
        QVERIFY(Immagini::contains(name + u'D'));

        const QPixmap enabled = Immagini::picture(name, 32);
        const QPixmap disabled = Immagini::picture(name + u'D', 32);
        QCOMPARE(enabled.deviceIndependentSize().toSize(), QSize(32, 32));
        QVERIFY2(paintedPixels(enabled) > 200, "the picture is nearly empty");
        QVERIFY(hasColour(enabled));
        QVERIFY2(!hasColour(disabled), "the disabled form must be grey");
        QCOMPARE(paintedPixels(disabled), paintedPixels(enabled));
    }

    void unknownNamesGiveNothing()
    {
        QVERIFY(!Immagini::contains(u"imgNonEsiste"_s));
        QVERIFY(Immagini::picture(u"imgNonEsiste"_s).isNull());
        QVERIFY(Immagini::picture(u"imgNonEsisteD"_s).isNull());
        QVERIFY(Immagini::background(u"imgNonEsiste"_s, QSize(10, 10)).isNull());
    }

    void backgroundsFillTheWindow()
    {
        QCOMPARE(Immagini::backgrounds(),
                 QStringList({u"imgSfondo"_s, u"imgSfondoForm"_s, u"imgSfondoMain"_s, u"imgSplash"_s}));
        for (const QString &name : Immagini::backgrounds()) {
            const QImage image = Immagini::background(name, QSize(300, 200)).toImage();
            QCOMPARE(image.size(), QSize(300, 200));
            QCOMPARE(qAlpha(image.pixel(0, 0)), 255);
            QCOMPARE(qAlpha(image.pixel(299, 199)), 255);
        }

        QWidget window;
        window.resize(320, 240);
        Immagini::setBackground(&window);
        window.show();
        QCOMPARE(window.palette().brush(QPalette::Window).texture().size(), QSize(320, 240));
        window.resize(400, 300);
        QCOMPARE(window.palette().brush(QPalette::Window).texture().size(), QSize(400, 300));
        Immagini::setBackground(&window, u"imgSfondoMain"_s);
        QCOMPARE(window.findChildren<QObject *>(u"__sfondo"_s).size(), 1);
        // Another background shows at once, though the window keeps its size.
        QCOMPARE(window.palette().brush(QPalette::Window).texture().toImage(),
                 Immagini::background(u"imgSfondoMain"_s, QSize(400, 300)).toImage());
    }

    void handCursorPointsWithTheFingerTip()
    {
        const QCursor hand = Immagini::handCursor();
        QCOMPARE(hand.shape(), Qt::BitmapCursor);
        QCOMPARE(hand.hotSpot(), QPoint(11, 1));
        QVERIFY(paintedPixels(Immagini::handPicture()) > 100);
    }

    void imageButtonFollowsItsEnabledState()
    {
        ImageButton button(u"imgSalva"_s);
        QCOMPARE(button.objectName(), u"imgSalva"_s);
        QCOMPARE(button.cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(button.shownPicture(), u"imgSalva"_s);
        button.setEnabled(false);
        QCOMPARE(button.shownPicture(), u"imgSalvaD"_s);
        button.setEnabled(true);
        button.setPicture(u"imgStampa"_s);
        QCOMPARE(button.shownPicture(), u"imgStampa"_s);

        // What is painted is the form named.
        button.setPicture(u"imgSalva"_s);
        button.resize(button.sizeHint());
        const QImage shownEnabled = button.grab().toImage();
        button.setEnabled(false);
        const QImage shownDisabled = button.grab().toImage();
        QVERIFY(shownEnabled != shownDisabled);
    }

    void imageButtonClicksOnlyWhenEnabled()
    {
        QWidget window;
        auto *button = new ImageButton(u"imgConferma"_s, &window);
        button->setToolTip(u"Conferma"_s);
        window.show();
        QSignalSpy clicks(button, &ImageButton::clicked);

        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicks.count(), 1);
        button->setEnabled(false);
        QTest::mouseClick(button, Qt::LeftButton);
        button->click();
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(button->toolTip(), u"Conferma"_s);
    }

    void commandButtonMakesRoomForItsCaption()
    {
        ImageButton bare(u"imgSalva"_s);
        ImageButton command(u"imgSalva"_s, u"Esci dall'installazione"_s);
        QCOMPARE(command.text(), u"Esci dall'installazione"_s);
        QVERIFY(command.sizeHint().width() > command.fontMetrics().horizontalAdvance(command.text()) + 24);
        QVERIFY(command.sizeHint().width() > bare.sizeHint().width());
        command.setPictureAbove(true);
        QVERIFY(command.sizeHint().height() > 24 + command.fontMetrics().height());
    }
};

QTEST_MAIN(TestImmagini)
#include "tst_Immagini.moc"
