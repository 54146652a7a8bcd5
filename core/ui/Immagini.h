#pragma once

#include <QCursor>
#include <QPixmap>
#include <QString>
#include <QStringList>

class QWidget;

/**
 * The shared pictures of every window: window backgrounds, button pictures, and the hand cursor of the
 * menu controls. Pictures are asked for by the names the windows have always used ("imgSalva",
 * "ImgSedeLeg"); every button picture has a disabled form named like it with a final "D" ("imgSalvaD").
 *
 *   button->setIcon(Immagini::picture(u"imgConferma"_s));          // a 32-pixel picture
 *   Immagini::setBackground(this);                                  // imgSfondoForm, follows resizes
 *   Immagini::setBackground(this, u"imgSfondoMain"_s);
 *   label->setCursor(Immagini::handCursor());                       // ImgMouse
 *
 * For clickable pictures use ImageButton, which switches to the disabled form by itself.
 *
 * The pictures are the PNG files under resources/pictures/, compiled in; a file is named after its
 * picture. To add a button picture, put two files in buttons/, the picture and its disabled form
 * ("imgStampa.png", "imgStampaD.png"), drawn at 96 x 96 pixels: it is scaled down to the size asked
 * for. To add a background, put it in backgrounds/ at the size of its window: it is stretched to fit.
 */
namespace Immagini {

/** The button picture of that name at the given size in pixels; a null pixmap for an unknown name. */
QPixmap picture(const QString &name, int size = 32);

/** True when `name` is a button picture or its disabled form. */
bool contains(const QString &name);

/** The name of the form to show: the picture itself when enabled, its "D" form when not. */
QString formFor(const QString &name, bool enabled);

/** Every button picture in its enabled form, by name. */
QStringList buttonPictures();

/** The window backgrounds: imgSfondo (the e-mail prompt's), imgSfondoForm, imgSfondoMain, imgSplash. */
QStringList backgrounds();

/** A background stretched to the given size; a null pixmap for an unknown name. */
QPixmap background(const QString &name, const QSize &size);

/** A logo scaled to fit the given size, keeping its proportions; a null pixmap for an unknown name. */
QPixmap logo(const QString &name, const QSize &size);

/** Gives the window its background picture, stretched to the window's size whenever it changes. */
void setBackground(QWidget *window, const QString &name = QStringLiteral("imgSfondoForm"));

/** ImgMouse: the hand that points at clickable controls. */
QCursor handCursor();

/** The hand of handCursor() as a picture. */
QPixmap handPicture();

} // namespace Immagini
