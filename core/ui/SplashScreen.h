#pragma once

#include <QWidget>

/** The splash window shown while the program starts: the call, its year and the program's version. */
class SplashScreen : public QWidget
{
public:
    explicit SplashScreen(QWidget *parent = nullptr);
};
