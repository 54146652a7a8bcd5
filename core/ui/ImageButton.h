#pragma once

#include <QAbstractButton>

namespace kx {

/**
 * A clickable picture of the Immagini catalogue, for the windows' img... and picture command buttons.
 * It shows the enabled picture ("imgSalva") or the disabled one ("imgSalvaD") as its enabled state
 * changes, points with the program's hand cursor, and lights up under the mouse. With a caption it is a
 * raised command button with the picture beside (or above) the caption.
 *
 *   auto *imgConferma = new ImageButton(u"imgConferma"_s, this);   // objectName = picture name
 *   imgConferma->setToolTip(u"Conferma"_s);
 *   connect(imgConferma, &ImageButton::clicked, this, &frmMailAggInst::conferma);
 *
 *   auto *cmdSalva = new ImageButton(u"imgSalva"_s, u"Salva"_s, this);
 *   cmdSalva->setObjectName(u"cmdSalva"_s);
 *   cmdSalva->setEnabled(false);                                   // now shows imgSalvaD
 *
 * Tests press it with QTest::mouseClick or click(); a disabled button ignores both.
 */
class ImageButton : public QAbstractButton
{
    Q_OBJECT

public:
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
    int m_pictureSize;
    bool m_pictureAbove = false;
    bool m_hovered = false;
};

} // namespace kx
