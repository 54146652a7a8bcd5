#pragma once

#include <QCursor>
#include <QPixmap>
#include <QString>
#include <QStringList>

class QWidget;

/**
 * The shared pictures of every window, drawn for this program: window backgrounds, button pictures,
 * and the hand cursor of the menu controls. Pictures are asked for by the names the windows have always
 * used ("imgSalva", "ImgSedeLeg"); every button picture has a disabled form named like it with a
 * final "D" ("imgSalvaD").
 *
 *   button->setIcon(Immagini::picture(u"imgConferma"_s));          // a 32-pixel picture
 *   Immagini::setBackground(this);                                  // imgSfondoForm, follows resizes
 *   Immagini::setBackground(this, u"imgSfondoMain"_s);
 *   label->setCursor(Immagini::handCursor());                       // ImgMouse
 *
 * For clickable pictures use ImageButton, which switches to the disabled form by itself.
 */
namespace Immagini {

/** The button picture of that name at the given size in pixels; a null pixmap for an unknown name. */
QPixmap picture(const QString &name, int size = 32);

/** True when `name` is a button picture or its disabled form. */
bool contains(const QString &name);

/** The name of the form to show: the picture itself when enabled, its "D" form when not. */
QString formFor(const QString &name, bool enabled);

/** Every button picture in its enabled form, in catalogue order. */
QStringList buttonPictures();

/** The window backgrounds: imgSfondoForm, imgSfondoMain, imgSfondo (the e-mail prompt's), imgSplash. */
QStringList backgrounds();

/** A background painted at the given size; a null pixmap for an unknown name. */
QPixmap background(const QString &name, const QSize &size);

/** Gives the window its background picture, repainted at the window's size whenever it changes. */
void setBackground(QWidget *window, const QString &name = QStringLiteral("imgSfondoForm"));

/** ImgMouse: the hand that points at clickable controls. */
QCursor handCursor();

/** The hand of handCursor() as a picture. */
QPixmap handPicture();

} // namespace Immagini
