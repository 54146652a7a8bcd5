#include "core/ui/Immagini.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QPalette>
#include <QPixmapCache>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

const QString ButtonFolder = u":/pictures/buttons/"_s;
const QString BackgroundFolder = u":/pictures/backgrounds/"_s;
const QString LogoFolder = u":/pictures/logos/"_s;

QString fileOf(const QString &folder, const QString &name)
{
    return folder + name + u".png"_s;
}

/** The names of the pictures in a folder, sorted as a reader would. */
QStringList namesIn(const QString &folder)
{
    QStringList names = QDir(folder).entryList({u"*.png"_s}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (QString &name : names)
        name.chop(4);
    return names;
}

qreal pixelRatio()
{
    return qApp ? qGuiApp->devicePixelRatio() : 1.0;
}

const QString KeeperName = u"__sfondo"_s;

/** Stretches a window's background picture to its size. */
class BackgroundKeeper : public QObject
{
public:
    BackgroundKeeper(QWidget *window, const QString &name) : QObject(window), m_name(name)
    {
        setObjectName(KeeperName);
        window->setAutoFillBackground(true);
        window->installEventFilter(this);
        apply(window);
    }

    void setName(QWidget *window, const QString &name)
    {
        m_name = name;
        m_shown = QSize();
        apply(window);
    }

    void apply(QWidget *window)
    {
        if (window->size() == m_shown)
            return;
        m_shown = window->size();
        QPalette palette = window->palette();
        palette.setBrush(QPalette::Window, QBrush(Immagini::background(m_name, window->size())));
        window->setPalette(palette);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
            apply(static_cast<QWidget *>(watched));
        return false;
    }

private:
    QString m_name;
    QSize m_shown;
};

} // namespace

namespace Immagini {

QPixmap picture(const QString &name, int size)
{
    if (!contains(name))
        return {};
    const qreal ratio = pixelRatio();
    const QString key = name + u'@' + QString::number(size) + u'x' + QString::number(ratio);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    pixmap = QPixmap::fromImage(
        QImage(fileOf(ButtonFolder, name))
            .scaled(QSize(size, size) * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    pixmap.setDevicePixelRatio(ratio);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

bool contains(const QString &name)
{
    return QFile::exists(fileOf(ButtonFolder, name));
}

QString formFor(const QString &name, bool enabled)
{
    return enabled ? name : name + u'D';
}

QStringList buttonPictures()
{
    const QStringList forms = namesIn(ButtonFolder);
    QStringList names;
    for (const QString &name : forms) {
        if (forms.contains(formFor(name, false)))
            names << name;
    }
    return names;
}

QStringList backgrounds()
{
    return namesIn(BackgroundFolder);
}

QPixmap background(const QString &name, const QSize &size)
{
    const QImage image(fileOf(BackgroundFolder, name));
    if (image.isNull() || size.isEmpty())
        return {};
    return QPixmap::fromImage(image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

QPixmap logo(const QString &name, const QSize &size)
{
    const QImage image(fileOf(LogoFolder, name));
    if (image.isNull() || size.isEmpty())
        return {};
    return QPixmap::fromImage(image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void setBackground(QWidget *window, const QString &name)
{
    if (auto *keeper = dynamic_cast<BackgroundKeeper *>(
            window->findChild<QObject *>(KeeperName, Qt::FindDirectChildrenOnly))) {
        keeper->setName(window, name);
        return;
    }
    new BackgroundKeeper(window, name);
}

QPixmap handPicture()
{
    return QPixmap(u":/pictures/ImgMouse.png"_s);
}

QCursor handCursor()
{
    // The tip of the index finger points.
    return QCursor(handPicture(), 11, 1);
}

} // namespace Immagini
