#pragma once

#include <QAbstractButton>

namespace kx {

/**
 * A clickable picture of the Immagini catalogue, for the windows' img... and picture command buttons.
 * It shows the enabled picture ("imgSalva") or the disabled one ("imgSalvaD") as its enabled state
 * changes, points with the program's hand cursor, and lights up under the mouse. With a caption it is a
 * raised command button with the picture beside (or above) the caption.
 *
 * A form promotes a QAbstractButton to kx::ImageButton (header core/ui/ImageButton.h) and sets the
 * properties picture, pictureSize (32 unless set; command buttons use 24) and pictureAbove:
 *
 *   <widget class="kx::ImageButton" name="cmdSalva">
 *    <property name="text"><string>Salva</string></property>
 *    <property name="picture"><string notr="true">imgSalva</string></property>
 *    <property name="pictureSize"><number>24</number></property>
 *   </widget>
 *
 * setEnabled(false) then shows imgSalvaD. Tests press it with QTest::mouseClick or click(); a disabled
 * button ignores both.
 */
class ImageButton : public QAbstractButton
{
    Q_OBJECT
    Q_PROPERTY(QString picture READ pictureName WRITE setPicture)
    Q_PROPERTY(int pictureSize READ pictureSize WRITE setPictureSize)
    Q_PROPERTY(bool pictureAbove READ pictureAbove WRITE setPictureAbove)

public:
    /** A button without a picture yet, as a form makes it before setting its properties. */
    explicit ImageButton(QWidget *parent = nullptr);
    /** A bare picture; its objectName starts as the picture's name. */
    explicit ImageButton(const QString &picture, QWidget *parent = nullptr);
    /** A command button with a picture and a caption. */
    ImageButton(const QString &picture, const QString &caption, QWidget *parent = nullptr);

    const QString &pictureName() const { return m_picture; }
    /** Changes the picture; the enabled or disabled form follows the button's state. */
    void setPicture(const QString &picture);
    /** The name of the form now shown: the picture's name, or it with a final "D" when disabled. */
    QString shownPicture() const;

    int pictureSize() const { return m_pictureSize; }
    void setPictureSize(int size);

    bool pictureAbove() const { return m_pictureAbove; }
    /** Puts the picture above the caption instead of to its left. */
    void setPictureAbove(bool above);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void paintBare(QPainter &painter);
    void paintCommand(QPainter &painter);

    QString m_picture;
    int m_pictureSize = 32;
    bool m_pictureAbove = false;
    bool m_hovered = false;
};

} // namespace kx
