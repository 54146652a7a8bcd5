#pragma once

#include <QObject>

class QWidget;

/**
 * Brings the main window back to the front, active, once the windows and boxes of the commands have
 * all closed: the window system may hand the activation to the frame behind it instead. It watches
 * every window of the program hide while it lives.
 */
class RitornoInPrimoPiano final : public QObject
{
public:
    explicit RitornoInPrimoPiano(QWidget *main);
    ~RitornoInPrimoPiano() override;

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void riportaDavanti();

    QWidget *m_main;
    bool m_inAttesa = false;
};
