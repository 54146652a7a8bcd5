#include "WindowTesting.h"

#include <QAbstractButton>

void press(QWidget *window, const QString &name)
{
    auto *button = control<QAbstractButton>(window, name);
    if (!button->isVisible() || !button->isEnabled())
        throw UnexpectedCall(QStringLiteral("%1 cannot be pressed: hidden or disabled").arg(name));
    button->click();
}
