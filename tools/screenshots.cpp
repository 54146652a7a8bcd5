// Renders the program's pictures and windows into PNG files, to look at them without a display:
//   xvfb-run build/bin/screenshots <folder>
#include "core/windows/Immagini.h"

#include <QApplication>
#include <QDir>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace {

void savePictureSheet(const QString &folder)
{
    const QStringList names = Immagini::buttonPictures();
    const int columns = 6;
    const int cell = 150;
    const int rows = int((names.size() + columns - 1) / columns);
    QImage sheet(columns * cell, rows * 110, QImage::Format_ARGB32);
    {
        QPainter p(&sheet);
        p.drawPixmap(0, 0, Immagini::background(u"imgSfondoForm"_s, sheet.size()));
        for (int i = 0; i < names.size(); ++i) {
            const int x = (i % columns) * cell;
            const int y = (i / columns) * 110;
            p.drawPixmap(x + 20, y + 10, Immagini::picture(names[i], 48));
            p.drawPixmap(x + 80, y + 10, Immagini::picture(names[i] + u'D', 48));
            p.drawPixmap(x + 20, y + 64, Immagini::picture(names[i], 24));
            p.drawPixmap(x + 50, y + 64, Immagini::picture(names[i], 16));
            p.drawText(QRect(x, y + 90, cell, 18), Qt::AlignCenter, names[i]);
        }
        p.drawPixmap(sheet.width() - 40, sheet.height() - 40, Immagini::handPicture());
    }
    sheet.save(folder + u"/Immagini.png"_s);
    for (const QString &name : Immagini::backgrounds())
        Immagini::background(name, QSize(640, 420)).save(folder + u'/' + name + u".png"_s);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"screenshots"_s;
    QDir().mkpath(folder);
    savePictureSheet(folder);
    return 0;
}
