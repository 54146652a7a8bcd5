#include "core/ui/SplashScreen.h"

#include "core/startup/VersioneProgramma.h"
#include "core/ui/Immagini.h"

#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QLabel *label(QWidget *parent, const QString &name, const QString &text, qreal pointSize, bool bold)
{
    auto *result = new QLabel(text, parent);
    result->setObjectName(name);
    result->setAlignment(Qt::AlignCenter);
    QFont font = result->font();
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    result->setFont(font);
    QPalette palette = result->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    result->setPalette(palette);
    return result;
}

} // namespace

SplashScreen::SplashScreen(QWidget *parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(u"SplashScreen"_s);
    setFixedSize(520, 320);
    Immagini::setBackground(this, u"imgSplash"_s);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(30, 34, 30, 18);
    layout->setSpacing(6);
    layout->addWidget(label(this, u"Label1"_s, u"«Bando Regionale»"_s, 22, true));
    layout->addWidget(label(this, u"Label2"_s, u"2021"_s, 40, true));
    auto *title = label(this, u"Label3"_s, u"Laboratori di Accompagnamento e Recupero"_s, 14, false);
    title->setWordWrap(true);
    layout->addWidget(title);
    layout->addStretch();
    auto *lblVer = label(this, u"lblVer"_s, u"Ver. "_s + versioneProgramma(), 9, false);
    lblVer->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    layout->addWidget(lblVer);

    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}
