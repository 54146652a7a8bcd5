#include "core/ui/ImageButton.h"

#include "core/ui/Immagini.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

using namespace Qt::StringLiterals;

namespace kx {

namespace {
constexpr int BarePadding = 4;
constexpr int CommandPadding = 8;
constexpr int Gap = 6;
} // namespace

ImageButton::ImageButton(QWidget *parent) : QAbstractButton(parent)
{
    setCursor(Immagini::handCursor());
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
}

ImageButton::ImageButton(const QString &picture, QWidget *parent) : ImageButton(parent)
{
    m_picture = picture;
    setObjectName(picture);
}

ImageButton::ImageButton(const QString &picture, const QString &caption, QWidget *parent)
    : ImageButton(picture, parent)
{
    setText(caption);
    m_pictureSize = 24;
}

void ImageButton::setPicture(const QString &picture)
{
    m_picture = picture;
    updateGeometry();
    update();
}

QString ImageButton::shownPicture() const
{
    return Immagini::formFor(m_picture, isEnabled());
}

void ImageButton::setPictureSize(int size)
{
    m_pictureSize = size;
    updateGeometry();
    update();
}

void ImageButton::setPictureAbove(bool above)
{
    m_pictureAbove = above;
    updateGeometry();
    update();
}

QSize ImageButton::sizeHint() const
{
    if (text().isEmpty())
        return QSize(m_pictureSize, m_pictureSize) + QSize(2 * BarePadding, 2 * BarePadding);
    const QFontMetrics metrics = fontMetrics();
    const QSize caption = metrics.size(Qt::TextShowMnemonic, text());
    if (m_pictureAbove) {
        return QSize(qMax(caption.width(), m_pictureSize) + 2 * CommandPadding,
                     m_pictureSize + Gap + caption.height() + 2 * CommandPadding);
    }
    return QSize(m_pictureSize + Gap + caption.width() + 2 * CommandPadding + 4,
                 qMax(caption.height(), m_pictureSize) + CommandPadding + 4);
}

void ImageButton::enterEvent(QEnterEvent *event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void ImageButton::leaveEvent(QEvent *event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void ImageButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (text().isEmpty())
        paintBare(painter);
    else
        paintCommand(painter);
}

void ImageButton::paintBare(QPainter &painter)
{
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (isEnabled() && (m_hovered || isDown())) {
        painter.setPen(QPen(QColor(47, 111, 192, isDown() ? 200 : 130), 1));
        painter.setBrush(QColor(255, 255, 255, isDown() ? 110 : 150));
        painter.drawRoundedRect(frame, 5, 5);
    }
    if (hasFocus()) {
        QPen dots(QColor(47, 111, 192), 1, Qt::DotLine);
        painter.setPen(dots);
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(frame.adjusted(1, 1, -1, -1), 4, 4);
    }
    const QPixmap pixmap = Immagini::picture(shownPicture(), m_pictureSize);
    QPoint at((width() - m_pictureSize) / 2, (height() - m_pictureSize) / 2);
    if (isDown())
        at += QPoint(1, 1);
    painter.drawPixmap(at, pixmap);
}

void ImageButton::paintCommand(QPainter &painter)
{
    QStyleOptionButton option;
    option.initFrom(this);
    option.features = QStyleOptionButton::None;
    if (isDown())
        option.state |= QStyle::State_Sunken;
    else
        option.state |= QStyle::State_Raised;
    if (m_hovered)
        option.state |= QStyle::State_MouseOver;
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);

    const QPixmap pixmap = Immagini::picture(shownPicture(), m_pictureSize);
    const QRect inner =
        rect().adjusted(CommandPadding, CommandPadding / 2, -CommandPadding, -CommandPadding / 2);
    const QSize caption = fontMetrics().size(Qt::TextShowMnemonic, text());
    const QPoint shift = isDown() ? QPoint(1, 1) : QPoint();
    QRect pictureRect;
    QRect captionRect;
    if (m_pictureAbove) {
        const int total = m_pictureSize + Gap + caption.height();
        const int top = inner.top() + (inner.height() - total) / 2;
        pictureRect =
            QRect(inner.left() + (inner.width() - m_pictureSize) / 2, top, m_pictureSize, m_pictureSize);
        captionRect = QRect(inner.left(), top + m_pictureSize + Gap, inner.width(), caption.height());
    } else {
        const int total = m_pictureSize + Gap + caption.width();
        const int left = inner.left() + qMax(0, (inner.width() - total) / 2);
        pictureRect =
            QRect(left, inner.top() + (inner.height() - m_pictureSize) / 2, m_pictureSize, m_pictureSize);
        captionRect = QRect(pictureRect.right() + 1 + Gap, inner.top(),
                            inner.right() - pictureRect.right() - Gap, inner.height());
    }
    painter.drawPixmap(pictureRect.topLeft() + shift, pixmap);
    const int flags = Qt::TextShowMnemonic |
                      (m_pictureAbove ? Qt::AlignHCenter | Qt::AlignTop : Qt::AlignLeft | Qt::AlignVCenter);
    style()->drawItemText(&painter, captionRect.translated(shift), flags, palette(), isEnabled(), text(),
                          QPalette::ButtonText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

} // namespace kx
