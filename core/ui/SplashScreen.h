#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class SplashScreen;
}

/** The splash window shown while the program starts: the call, its year and the program's version. */
class SplashScreen : public QWidget
{
    Q_OBJECT

public:
    explicit SplashScreen(QWidget *parent = nullptr);
    ~SplashScreen() override;

private:
    std::unique_ptr<Ui::SplashScreen> m_ui;
};
