#include "core/ui/SplashScreen.h"

#include "core/services/VersioneProgramma.h"
#include "core/ui/Immagini.h"
#include "ui_SplashScreen.h"

#include <QScreen>

using namespace Qt::StringLiterals;

SplashScreen::SplashScreen(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_ui(std::make_unique<Ui::SplashScreen>())
{
    m_ui->setupUi(this);
    Immagini::setBackground(this, u"imgSplash"_s);
    m_ui->lblVer->setText(u"Ver. "_s + versioneProgramma());

    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

SplashScreen::~SplashScreen() = default;
