#include "core/ui/Immagini.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QRadialGradient>
#include <QWidget>
#include <cmath>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Every picture is drawn on a 48 x 48 grid and scaled to the size asked for.
constexpr qreal Grid = 48.0;

using Art = std::function<void(QPainter &)>;

QColor rgb(const char *hex)
{
    return QColor::fromString(QLatin1StringView(hex));
}

QLinearGradient vertical(qreal top, qreal bottom, const QColor &from, const QColor &to)
{
    QLinearGradient gradient(0, top, 0, bottom);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    return gradient;
}

QPen outline(const QColor &color, qreal width = 1.5)
{
    QPen pen(color, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

QPen stroke(const QColor &color, qreal width)
{
    return outline(color, width);
}

void groundShadow(QPainter &p, qreal y = 42.5, qreal width = 34)
{
    QRadialGradient shade(24, y, width / 2);
    shade.setColorAt(0, QColor(0, 0, 0, 70));
    shade.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.save();
    p.translate(24, y);
    p.scale(1, 0.22);
    p.drawEllipse(QPointF(0, 0), width / 2, width / 2);
    p.restore();
}

/** A glossy round button in the given colour. */
void badge(QPainter &p, const QColor &base, const QRectF &r = QRectF(4, 4, 40, 40))
{
    QRadialGradient body(r.center().x() - r.width() * 0.15, r.top() + r.height() * 0.3, r.width() * 0.75);
    body.setColorAt(0, base.lighter(150));
    body.setColorAt(0.6, base);
    body.setColorAt(1, base.darker(135));
    p.setPen(outline(base.darker(170), 1.4));
    p.setBrush(body);
    p.drawEllipse(r);
    QLinearGradient gloss(0, r.top(), 0, r.center().y());
    gloss.setColorAt(0, QColor(255, 255, 255, 150));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawEllipse(QRectF(r.left() + r.width() * 0.16, r.top() + 2, r.width() * 0.68, r.height() * 0.5));
}

/** A sheet of paper with a folded corner and ruled lines. */
void sheet(QPainter &p, const QRectF &r, const QColor &tint = Qt::white, bool lines = true)
{
    const qreal fold = r.width() * 0.3;
    QPainterPath page;
    page.moveTo(r.topLeft());
    page.lineTo(r.right() - fold, r.top());
    page.lineTo(r.right(), r.top() + fold);
    page.lineTo(r.bottomRight());
    page.lineTo(r.bottomLeft());
    page.closeSubpath();
    p.setPen(outline(rgb("#7b8794"), 1.3));
    p.setBrush(vertical(r.top(), r.bottom(), tint, tint.darker(112)));
    p.drawPath(page);
    QPainterPath corner;
    corner.moveTo(r.right() - fold, r.top());
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    corner.closeSubpath();
    p.setBrush(rgb("#d5dce4"));
    p.drawPath(corner);
    if (!lines)
        return;
    p.setPen(stroke(rgb("#9fb3c8"), 1.4));
    for (qreal y = r.top() + fold + 4; y < r.bottom() - 3; y += 4.5)
        p.drawLine(QPointF(r.left() + 4, y), QPointF(r.right() - 4, y));
}

void arrowPolygon(QPainter &p, const QPolygonF &shape, const QColor &color)
{
    p.setPen(outline(color.darker(160), 1.3));
    const QRectF box = shape.boundingRect();
    p.setBrush(vertical(box.top(), box.bottom(), color.lighter(140), color));
    p.drawPolygon(shape);
}

/** A fat arrow pointing right, from x0 to x1 around the height y. */
QPolygonF rightArrow(qreal x0, qreal x1, qreal y, qreal shaft, qreal head)
{
    const qreal neck = x1 - head;
    return QPolygonF({QPointF(x0, y - shaft / 2), QPointF(neck, y - shaft / 2),
                      QPointF(neck, y - head * 0.85), QPointF(x1, y), QPointF(neck, y + head * 0.85),
                      QPointF(neck, y + shaft / 2), QPointF(x0, y + shaft / 2)});
}

QPolygonF mirrored(const QPolygonF &shape)
{
    QPolygonF result;
    for (const QPointF &point : shape)
        result << QPointF(Grid - point.x(), point.y());
    return result;
}

QPolygonF rotated(const QPolygonF &shape, qreal degrees, const QPointF &centre)
{
    QTransform t;
    t.translate(centre.x(), centre.y());
    t.rotate(degrees);
    t.translate(-centre.x(), -centre.y());
    return t.map(shape);
}

void whiteTriangle(QPainter &p, qreal tipX, qreal baseX)
{
    p.setPen(outline(QColor(255, 255, 255), 1.0));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(baseX, 14), QPointF(tipX, 24), QPointF(baseX, 34)}));
}

void star(QPainter &p, const QPointF &centre, qreal radius, const QColor &color)
{
    QPolygonF points;
    for (int i = 0; i < 10; ++i) {
        const qreal angle = -M_PI / 2 + i * M_PI / 5;
        const qreal r = (i % 2 == 0) ? radius : radius * 0.45;
        points << centre + QPointF(std::cos(angle) * r, std::sin(angle) * r);
    }
    p.setPen(outline(color.darker(150), 1.0));
    p.setBrush(color);
    p.drawPolygon(points);
}

void printer(QPainter &p, qreal scale = 1.0)
{
    p.save();
    p.scale(scale, scale);
    sheet(p, QRectF(14, 5, 20, 16), Qt::white, false);
    p.setPen(outline(rgb("#4d5866"), 1.4));
    p.setBrush(vertical(17, 35, rgb("#c7ced6"), rgb("#7f8a97")));
    p.drawRoundedRect(QRectF(5, 17, 38, 18), 4, 4);
    p.setBrush(rgb("#3d4650"));
    p.drawRect(QRectF(12, 28, 24, 3));
    p.setPen(Qt::NoPen);
    p.setBrush(rgb("#34c759"));
    p.drawEllipse(QPointF(37, 22), 1.8, 1.8);
    sheet(p, QRectF(13, 29, 22, 15), Qt::white, true);
    p.restore();
}

void gear(QPainter &p, const QPointF &centre, qreal radius, const QColor &color)
{
    QPainterPath path;
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        const qreal a0 = i * M_PI / teeth;
        const qreal a1 = (i + 1) * M_PI / teeth;
        const qreal r = (i % 2 == 0) ? radius : radius * 0.78;
        const QPointF from = centre + QPointF(std::cos(a0) * r, std::sin(a0) * r);
        const QPointF to = centre + QPointF(std::cos(a1) * r, std::sin(a1) * r);
        if (i == 0)
            path.moveTo(from);
        else
            path.lineTo(from);
        path.lineTo(to);
    }
    path.closeSubpath();
    path.addEllipse(centre, radius * 0.32, radius * 0.32);
    path.setFillRule(Qt::OddEvenFill);
    p.setPen(outline(color.darker(160), 1.1));
    p.setBrush(vertical(centre.y() - radius, centre.y() + radius, color.lighter(140), color));
    p.drawPath(path);
}

void envelope(QPainter &p, const QRectF &r)
{
    p.setPen(outline(rgb("#8a7a55"), 1.4));
    p.setBrush(vertical(r.top(), r.bottom(), rgb("#fffaf0"), rgb("#efe2c4")));
    p.drawRect(r);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({r.topLeft(), QPointF(r.center().x(), r.center().y() + 2), r.topRight()}));
    p.drawLine(r.bottomLeft(), QPointF(r.left() + r.width() * 0.38, r.center().y()));
    p.drawLine(r.bottomRight(), QPointF(r.right() - r.width() * 0.38, r.center().y()));
}

void cylinder(QPainter &p, const QRectF &r, const QColor &color)
{
    const qreal cap = r.height() * 0.22;
    QPainterPath body;
    body.moveTo(r.left(), r.top() + cap / 2);
    body.lineTo(r.left(), r.bottom() - cap / 2);
    body.arcTo(QRectF(r.left(), r.bottom() - cap, r.width(), cap), 180, 180);
    body.lineTo(r.right(), r.top() + cap / 2);
    body.closeSubpath();
    QLinearGradient side(r.left(), 0, r.right(), 0);
    side.setColorAt(0, color.darker(115));
    side.setColorAt(0.35, color.lighter(135));
    side.setColorAt(1, color.darker(140));
    p.setPen(outline(color.darker(190), 1.3));
    p.setBrush(side);
    p.drawPath(body);
    p.setBrush(Qt::NoBrush);
    for (int band = 1; band < 3; ++band) {
        const qreal y = r.top() + cap / 2 + band * (r.height() - cap) / 3;
        p.drawArc(QRectF(r.left(), y - cap / 2, r.width(), cap), 180 * 16, 180 * 16);
    }
    p.setBrush(color.lighter(150));
    p.drawEllipse(QRectF(r.left(), r.top(), r.width(), cap));
}

void person(QPainter &p, const QPointF &at, qreal scale, const QColor &suit)
{
    p.save();
    p.translate(at);
    p.scale(scale, scale);
    QPainterPath shoulders;
    shoulders.moveTo(-16, 22);
    shoulders.cubicTo(-16, 8, -9, 4, 0, 4);
    shoulders.cubicTo(9, 4, 16, 8, 16, 22);
    shoulders.closeSubpath();
    p.setPen(outline(suit.darker(170), 1.3));
    p.setBrush(vertical(4, 22, suit.lighter(135), suit));
    p.drawPath(shoulders);
    p.setPen(outline(rgb("#b5b9c0"), 0.8));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(-4.5, 4.6), QPointF(0, 11), QPointF(4.5, 4.6)}));
    p.setPen(Qt::NoPen);
    p.setBrush(rgb("#c0392b"));
    p.drawPolygon(
        QPolygonF({QPointF(-1.4, 6), QPointF(1.4, 6), QPointF(2, 14), QPointF(0, 16), QPointF(-2, 14)}));
    p.setPen(outline(rgb("#a8754f"), 1.2));
    QRadialGradient face(-2, -9, 10);
    face.setColorAt(0, rgb("#ffe0c2"));
    face.setColorAt(1, rgb("#e9b48a"));
    p.setBrush(face);
    p.drawEllipse(QPointF(0, -6), 8, 8.6);
    p.setPen(Qt::NoPen);
    p.setBrush(rgb("#5b3a1e"));
    QPainterPath hair;
    hair.moveTo(-8, -6);
    hair.cubicTo(-8, -17, 8, -17, 8, -6);
    hair.cubicTo(5, -10, -3, -11, -8, -6);
    p.drawPath(hair);
    p.restore();
}

void building(QPainter &p, const QRectF &r, const QColor &wall, int columns, int floors)
{
    p.setPen(outline(wall.darker(180), 1.2));
    p.setBrush(vertical(r.top(), r.bottom(), wall.lighter(120), wall.darker(110)));
    p.drawRect(r);
    p.setPen(Qt::NoPen);
    p.setBrush(rgb("#ffd45c"));
    const qreal cellW = r.width() / columns;
    const qreal cellH = (r.height() - 4) / floors;
    for (int c = 0; c < columns; ++c) {
        for (int f = 0; f < floors; ++f)
            p.drawRect(QRectF(r.left() + c * cellW + cellW * 0.28, r.top() + 2 + f * cellH + cellH * 0.22,
                              cellW * 0.44, cellH * 0.5));
    }
}

// ---- the button pictures -------------------------------------------------------------------------

void drawConferma(QPainter &p)
{
    badge(p, rgb("#2f9e44"));
    p.setPen(stroke(Qt::white, 5.5));
    p.drawPolyline(QPolygonF({QPointF(14, 25), QPointF(21, 32), QPointF(34, 16)}));
}

void drawAnnulla(QPainter &p)
{
    badge(p, rgb("#d13b32"));
    p.setPen(stroke(Qt::white, 5.5));
    p.drawLine(QPointF(16.5, 16.5), QPointF(31.5, 31.5));
    p.drawLine(QPointF(31.5, 16.5), QPointF(16.5, 31.5));
}

void drawHelp(QPainter &p)
{
    badge(p, rgb("#2f6fc0"));
    p.setPen(stroke(Qt::white, 5));
    QPainterPath hook;
    hook.moveTo(17, 19);
    hook.cubicTo(17, 10, 31, 10, 31, 18.5);
    hook.cubicTo(31, 24, 24, 24, 24, 29);
    p.setBrush(Qt::NoBrush);
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(24, 35.5), 3.2, 3.2);
}

void drawExit(QPainter &p)
{
    groundShadow(p, 44, 30);
    p.setPen(outline(rgb("#4a3220"), 1.4));
    p.setBrush(rgb("#3b2a1d"));
    p.drawRect(QRectF(7, 5, 22, 38));
    QPolygonF leaf({QPointF(9, 7), QPointF(21, 11), QPointF(21, 46), QPointF(9, 41)});
    p.setBrush(vertical(7, 46, rgb("#c98d52"), rgb("#8a5528")));
    p.drawPolygon(leaf);
    p.setPen(Qt::NoPen);
    p.setBrush(rgb("#f4d35e"));
    p.drawEllipse(QPointF(18.5, 27), 1.6, 1.6);
    arrowPolygon(p, rightArrow(24, 46, 25, 8, 11), rgb("#2f9e44"));
}

void drawSalva(QPainter &p)
{
    groundShadow(p, 44, 34);
    QPainterPath disk;
    disk.moveTo(8, 6);
    disk.lineTo(36, 6);
    disk.lineTo(42, 12);
    disk.lineTo(42, 40);
    disk.quadTo(42, 42, 40, 42);
    disk.lineTo(8, 42);
    disk.quadTo(6, 42, 6, 40);
    disk.lineTo(6, 8);
    disk.quadTo(6, 6, 8, 6);
    p.setPen(outline(rgb("#1b3a66"), 1.4));
    p.setBrush(vertical(6, 42, rgb("#4f86cf"), rgb("#234a85")));
    p.drawPath(disk);
    p.setPen(outline(rgb("#6c7683"), 1.0));
    p.setBrush(vertical(6, 19, rgb("#f0f2f5"), rgb("#a9b2bd")));
    p.drawRect(QRectF(14, 6, 20, 13));
    p.setBrush(rgb("#3b4653"));
    p.drawRect(QRectF(27, 8.5, 4, 8));
    p.setPen(outline(rgb("#9aa5b1"), 1.0));
    p.setBrush(rgb("#fbfcfe"));
    p.drawRoundedRect(QRectF(11, 24, 26, 15), 1.5, 1.5);
    p.setPen(stroke(rgb("#e03131"), 1.6));
    p.drawLine(QPointF(14, 28), QPointF(34, 28));
    p.setPen(stroke(rgb("#9fb3c8"), 1.3));
    p.drawLine(QPointF(14, 32), QPointF(34, 32));
    p.drawLine(QPointF(14, 35.5), QPointF(30, 35.5));
}

void drawSedeLegale(QPainter &p)
{
    groundShadow(p, 45, 40);
    const QColor stone = rgb("#e9ddc2");
    const QPen edge = outline(rgb("#8a7650"), 1.2);
    p.setPen(edge);
    p.setBrush(vertical(38, 45, stone, stone.darker(115)));
    p.drawRect(QRectF(4, 41, 40, 3.5));
    p.drawRect(QRectF(7, 37.5, 34, 3.5));
    p.setBrush(vertical(21, 37, stone.lighter(104), stone.darker(112)));
    for (int i = 0; i < 4; ++i)
        p.drawRect(QRectF(10 + i * 8, 22, 4, 15.5));
    p.setBrush(stone.darker(105));
    p.drawRect(QRectF(8, 18, 32, 4));
    p.setBrush(vertical(9, 18, stone.lighter(108), stone));
    p.drawPolygon(QPolygonF({QPointF(6, 18), QPointF(24, 9), QPointF(42, 18)}));
    p.setPen(outline(rgb("#555555"), 1.0));
    p.drawLine(QPointF(24, 9), QPointF(24, 1.5));
    p.setPen(Qt::NoPen);
    const QColor flag[] = {rgb("#009246"), Qt::white, rgb("#ce2b37")};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(flag[i]);
        p.drawRect(QRectF(24.5 + i * 3.2, 2, 3.2, 5.5));
    }
    p.setPen(outline(rgb("#9a9a9a"), 0.6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(24.5, 2, 9.6, 5.5));
}

void drawPrimo(QPainter &p)
{
    badge(p, rgb("#2f6fc0"));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(14, 14, 4, 20), 1, 1);
    whiteTriangle(p, 19, 33);
}

void drawDietro(QPainter &p)
{
    badge(p, rgb("#2f6fc0"));
    whiteTriangle(p, 15, 31);
}

void drawAvanti(QPainter &p)
{
    badge(p, rgb("#2f6fc0"));
    whiteTriangle(p, 33, 17);
}

void drawUltimo(QPainter &p)
{
    badge(p, rgb("#2f6fc0"));
    whiteTriangle(p, 29, 15);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(30, 14, 4, 20), 1, 1);
}

void drawVai(QPainter &p)
{
    badge(p, rgb("#e8590c"));
    p.setPen(outline(Qt::white, 1.0));
    p.setBrush(Qt::white);
    p.drawPolygon(rightArrow(12, 36, 24, 6, 10));
}

void drawNuovo(QPainter &p)
{
    groundShadow(p, 44, 28);
    sheet(p, QRectF(9, 5, 27, 37));
    star(p, QPointF(35, 34), 9, rgb("#fcc419"));
}

void drawDuplica(QPainter &p)
{
    groundShadow(p, 44, 34);
    sheet(p, QRectF(5, 4, 24, 31), rgb("#f1f3f5"));
    sheet(p, QRectF(17, 12, 25, 32), rgb("#e7f0fb"));
}

void drawCance(QPainter &p)
{
    groundShadow(p, 44, 28);
    const QColor steel = rgb("#aeb8c4");
    p.setPen(outline(rgb("#4d5866"), 1.3));
    QLinearGradient side(12, 0, 36, 0);
    side.setColorAt(0, steel.darker(115));
    side.setColorAt(0.4, steel.lighter(125));
    side.setColorAt(1, steel.darker(140));
    p.setBrush(side);
    p.drawPolygon(QPolygonF({QPointF(11, 15), QPointF(37, 15), QPointF(34, 43), QPointF(14, 43)}));
    p.setPen(stroke(rgb("#5f6b79"), 1.6));
    for (qreal x : {18.0, 24.0, 30.0})
        p.drawLine(QPointF(x, 19), QPointF(x + (x - 24) * 0.12, 39));
    p.setPen(outline(rgb("#7c1d18"), 1.3));
    p.setBrush(vertical(9, 15, rgb("#f0524a"), rgb("#b52a22")));
    p.drawRoundedRect(QRectF(8, 10, 32, 5.5), 1.5, 1.5);
    p.drawRoundedRect(QRectF(19, 6, 10, 4.5), 1.5, 1.5);
}

void drawStampa(QPainter &p)
{
    groundShadow(p, 45, 38);
    printer(p);
}

void drawImpostaStampa(QPainter &p)
{
    groundShadow(p, 45, 34);
    printer(p, 0.82);
    gear(p, QPointF(35, 35), 11, rgb("#f08c00"));
}

void drawStampaBozza(QPainter &p)
{
    groundShadow(p, 44, 30);
    sheet(p, QRectF(7, 4, 28, 38), rgb("#fffbe6"));
    p.save();
    p.translate(33, 29);
    p.rotate(45);
    p.setPen(outline(rgb("#8f6a00"), 1.1));
    p.setBrush(vertical(-3.5, 3.5, rgb("#ffe066"), rgb("#f2b705")));
    p.drawRect(QRectF(-13, -3.5, 20, 7));
    p.setBrush(rgb("#f7a1b2"));
    p.drawRect(QRectF(-17, -3.5, 4, 7));
    p.setBrush(rgb("#f1d3a5"));
    p.drawPolygon(QPolygonF({QPointF(7, -3.5), QPointF(14, 0), QPointF(7, 3.5)}));
    p.setBrush(rgb("#333333"));
    p.drawPolygon(QPolygonF({QPointF(11.5, -1.2), QPointF(14, 0), QPointF(11.5, 1.2)}));
    p.restore();
}

void drawSend(QPainter &p)
{
    p.setPen(stroke(rgb("#74c0fc"), 2));
    p.drawLine(QPointF(3, 33), QPointF(12, 33));
    p.drawLine(QPointF(6, 39), QPointF(16, 39));
    const QPen edge = outline(rgb("#1c4f8c"), 1.3);
    p.setPen(edge);
    p.setBrush(vertical(6, 30, Qt::white, rgb("#d0e4fb")));
    p.drawPolygon(QPolygonF({QPointF(6, 21), QPointF(44, 6), QPointF(19, 28)}));
    p.setBrush(vertical(6, 42, rgb("#e7f1fd"), rgb("#a5c8f0")));
    p.drawPolygon(QPolygonF({QPointF(19, 28), QPointF(44, 6), QPointF(30, 40)}));
    p.setBrush(rgb("#7ea9da"));
    p.drawPolygon(QPolygonF({QPointF(19, 28), QPointF(22, 39), QPointF(26, 33)}));
}

void drawMail(QPainter &p)
{
    groundShadow(p, 43, 38);
    envelope(p, QRectF(5, 11, 38, 27));
    p.setPen(outline(rgb("#8c1c13"), 1.0));
    p.setBrush(rgb("#d13b32"));
    p.drawEllipse(QPointF(24, 26), 4, 4);
}

void drawAggiorna(QPainter &p)
{
    const QColor green = rgb("#2f9e44");
    QPen band = stroke(green, 5.5);
    band.setCapStyle(Qt::FlatCap);
    p.setPen(band);
    p.setBrush(Qt::NoBrush);
    const QRectF circle(9, 9, 30, 30);
    p.drawArc(circle, 100 * 16, 150 * 16);
    p.drawArc(circle, 280 * 16, 150 * 16);
    auto head = [&](qreal degrees) {
        const qreal a = qDegreesToRadians(degrees);
        const QPointF tip(24 + std::cos(a) * 15, 24 - std::sin(a) * 15);
        QPolygonF arrow({QPointF(-6.5, -5), QPointF(6.5, -5), QPointF(0, 5)});
        QTransform t;
        t.translate(tip.x(), tip.y());
        t.rotate(-degrees);
        p.setPen(outline(green.darker(150), 1.0));
        p.setBrush(green);
        p.drawPolygon(t.map(arrow));
    };
    head(95);
    head(275);
}

void drawVordan(QPainter &p)
{
    groundShadow(p, 45, 32);
    QRadialGradient sea(18, 16, 24);
    sea.setColorAt(0, rgb("#8cc8ff"));
    sea.setColorAt(1, rgb("#1864ab"));
    p.setPen(outline(rgb("#0b3d6e"), 1.3));
    p.setBrush(sea);
    p.drawEllipse(QRectF(5, 7, 34, 34));
    p.setPen(stroke(QColor(255, 255, 255, 170), 1.1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(14, 7, 16, 34));
    p.drawLine(QPointF(22, 7), QPointF(22, 41));
    p.drawLine(QPointF(5, 24), QPointF(39, 24));
    p.drawArc(QRectF(8, 12, 28, 8), 0, 180 * 16);
    p.drawArc(QRectF(8, 28, 28, 8), 180 * 16, 180 * 16);
    arrowPolygon(p, rotated(rightArrow(24, 46, 20, 6, 9), -45, QPointF(34, 20)), rgb("#f08c00"));
}

void drawScaricoCorsi(QPainter &p)
{
    groundShadow(p, 45, 40);
    p.setPen(outline(rgb("#4d5866"), 1.3));
    p.setBrush(vertical(30, 44, rgb("#ced4da"), rgb("#868e96")));
    p.drawPolygon(QPolygonF({QPointF(4, 30), QPointF(13, 30), QPointF(17, 36), QPointF(31, 36),
                             QPointF(35, 30), QPointF(44, 30), QPointF(44, 43), QPointF(4, 43)}));
    arrowPolygon(p, rotated(rightArrow(2, 28, 24, 8, 11), 90, QPointF(24, 24)), rgb("#2f9e44"));
}

void drawOperator(QPainter &p)
{
    groundShadow(p, 45, 34);
    person(p, QPointF(24, 22), 1.0, rgb("#2b4c7e"));
}

void drawComponenti(QPainter &p)
{
    groundShadow(p, 45, 42);
    building(p, QRectF(17, 5, 15, 38), rgb("#7d93ad"), 2, 5);
    building(p, QRectF(4, 20, 14, 23), rgb("#b08968"), 2, 3);
    building(p, QRectF(31, 15, 13, 28), rgb("#8aa67b"), 2, 4);
}

void drawCorsi(QPainter &p)
{
    groundShadow(p, 44, 34);
    p.setPen(outline(rgb("#0f1a2e"), 1.3));
    p.setBrush(vertical(22, 36, rgb("#3b4d6e"), rgb("#1f2d47")));
    QPainterPath band;
    band.moveTo(13, 21);
    band.lineTo(13, 32);
    band.cubicTo(17, 37, 31, 37, 35, 32);
    band.lineTo(35, 21);
    band.closeSubpath();
    p.drawPath(band);
    p.setBrush(vertical(8, 28, rgb("#4b628a"), rgb("#22314d")));
    p.drawPolygon(QPolygonF({QPointF(3, 18), QPointF(24, 8), QPointF(45, 18), QPointF(24, 28)}));
    p.setPen(stroke(rgb("#f2b705"), 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(24, 18), QPointF(39, 22), QPointF(39, 33)}));
    p.setPen(Qt::NoPen);
    p.setBrush(rgb("#f2b705"));
    p.drawRoundedRect(QRectF(37, 32, 4, 8), 1.5, 1.5);
    p.setBrush(rgb("#16203a"));
    p.drawEllipse(QPointF(24, 18), 2, 1.2);
}

void drawRiassegna(QPainter &p)
{
    p.setPen(outline(rgb("#5c6b7a"), 1.2));
    p.setBrush(vertical(4, 18, rgb("#fff4d6"), rgb("#f0d58c")));
    p.drawRoundedRect(QRectF(3, 4, 15, 13), 2, 2);
    p.setBrush(vertical(31, 44, rgb("#dbeafe"), rgb("#93b8e6")));
    p.drawRoundedRect(QRectF(30, 31, 15, 13), 2, 2);
    arrowPolygon(p, rightArrow(10, 44, 21, 6, 9), rgb("#2f6fc0"));
    arrowPolygon(p, mirrored(rightArrow(4, 38, 28, 6, 9)), rgb("#e8590c"));
}

void drawBackup(QPainter &p)
{
    groundShadow(p, 45, 32);
    cylinder(p, QRectF(6, 5, 28, 37), rgb("#5c7cfa"));
    badge(p, rgb("#2f9e44"), QRectF(25, 25, 20, 20));
    p.setPen(stroke(Qt::white, 2.6));
    p.drawLine(QPointF(35, 29.5), QPointF(35, 39));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(30, 35), QPointF(40, 35), QPointF(35, 41)}));
}

struct Entry
{
    QString name;
    void (*draw)(QPainter &);
};

const QList<Entry> &catalogue()
{
    static const QList<Entry> entries = {
        {u"imgConferma"_s, drawConferma},
        {u"imgAnnulla"_s, drawAnnulla},
        {u"imgSalva"_s, drawSalva},
        {u"imgHelp"_s, drawHelp},
        {u"imgExit"_s, drawExit},
        {u"ImgSedeLeg"_s, drawSedeLegale},
        {u"imgPrimo"_s, drawPrimo},
        {u"imgDietro"_s, drawDietro},
        {u"imgAvanti"_s, drawAvanti},
        {u"imgUltimo"_s, drawUltimo},
        {u"imgVai"_s, drawVai},
        {u"imgNuovo"_s, drawNuovo},
        {u"imgDuplica"_s, drawDuplica},
        {u"imgCance"_s, drawCance},
        {u"imgStampa"_s, drawStampa},
        {u"ImgImpSt"_s, drawImpostaStampa},
        {u"imgStBozza"_s, drawStampaBozza},
        {u"imgSend"_s, drawSend},
        {u"imgMail"_s, drawMail},
        {u"imgAggiorna"_s, drawAggiorna},
        {u"ImgVORDAN"_s, drawVordan},
        {u"ImgScaCorsi"_s, drawScaricoCorsi},
        {u"imgOperator"_s, drawOperator},
        {u"imgComponen"_s, drawComponenti},
        {u"imgCorsi"_s, drawCorsi},
        {u"imgRiass"_s, drawRiassegna},
        {u"imgBackup"_s, drawBackup},
    };
    return entries;
}

const Entry *findEntry(const QString &name)
{
    for (const Entry &entry : catalogue()) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}

qreal pixelRatio()
{
    return qApp ? qGuiApp->devicePixelRatio() : 1.0;
}

QPixmap render(void (*draw)(QPainter &), int size)
{
    const qreal ratio = pixelRatio();
    QImage image(QSize(size, size) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size * ratio / Grid, size * ratio / Grid);
        draw(p);
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

/** The disabled look: grey, pale and half transparent, so it reads as "not now" on any background. */
QPixmap greyedOut(const QPixmap &source)
{
    QImage image = source.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x];
            const int grey = qGray(c);
            const int pale = grey * 55 / 100 + 255 * 45 / 100;
            line[x] = qRgba(pale, pale, pale, (qAlpha(c) * 55 + 99) / 100);
        }
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(source.devicePixelRatio());
    return pixmap;
}

// ---- backgrounds ---------------------------------------------------------------------------------

void paintWaves(QPainter &p, const QSize &size, const QColor &color, int count)
{
    const qreal w = size.width();
    const qreal h = size.height();
    for (int i = 0; i < count; ++i) {
        QPainterPath wave;
        const qreal base = h * (0.78 + i * 0.07);
        wave.moveTo(0, base);
        wave.cubicTo(w * 0.3, base - h * 0.12, w * 0.6, base + h * 0.08, w, base - h * 0.1);
        wave.lineTo(w, h);
        wave.lineTo(0, h);
        wave.closeSubpath();
        QColor tone = color;
        tone.setAlpha(color.alpha() + i * 8);
        p.fillPath(wave, tone);
    }
}

void paintForm(QPainter &p, const QSize &size)
{
    p.fillRect(QRect(QPoint(0, 0), size), vertical(0, size.height(), rgb("#f5f8fb"), rgb("#dde6ef")));
    QRadialGradient light(size.width() * 0.15, size.height() * 0.05, size.width() * 0.7);
    light.setColorAt(0, QColor(255, 255, 255, 150));
    light.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRect(QPoint(0, 0), size), light);
    paintWaves(p, size, QColor(47, 111, 192, 14), 2);
}

void paintMain(QPainter &p, const QSize &size)
{
    p.fillRect(QRect(QPoint(0, 0), size), vertical(0, size.height(), rgb("#f2f6fa"), rgb("#d3dfeb")));
    paintWaves(p, size, QColor(31, 78, 121, 18), 3);
    QRadialGradient light(size.width() * 0.8, size.height() * 0.1, size.width() * 0.6);
    light.setColorAt(0, QColor(255, 255, 255, 140));
    light.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRect(QPoint(0, 0), size), light);
}

void paintSplash(QPainter &p, const QSize &size)
{
    p.fillRect(QRect(QPoint(0, 0), size), vertical(0, size.height(), rgb("#1f4e79"), rgb("#123456")));
    paintWaves(p, size, QColor(255, 255, 255, 16), 3);
    QRadialGradient light(size.width() * 0.2, 0, size.width() * 0.8);
    light.setColorAt(0, QColor(255, 255, 255, 60));
    light.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRect(QPoint(0, 0), size), light);
}

using BackgroundArt = void (*)(QPainter &, const QSize &);

BackgroundArt backgroundArt(const QString &name)
{
    if (name == u"imgSfondoForm" || name == u"imgSfondo")
        return paintForm;
    if (name == u"imgSfondoMain")
        return paintMain;
    if (name == u"imgSplash")
        return paintSplash;
    return nullptr;
}

const QString KeeperName = u"__sfondo"_s;

/** Repaints a window's background picture at its size. */
class BackgroundKeeper : public QObject
{
public:
    BackgroundKeeper(QWidget *window, const QString &name) : QObject(window), m_name(name)
    {
        setObjectName(KeeperName);
        window->setAutoFillBackground(true);
        window->installEventFilter(this);
        apply(window);
    }

    QString m_name;

    void apply(QWidget *window)
    {
        if (window->size() == m_painted)
            return;
        m_painted = window->size();
        QPalette palette = window->palette();
        palette.setBrush(QPalette::Window, QBrush(Immagini::background(m_name, window->size())));
        window->setPalette(palette);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
            apply(static_cast<QWidget *>(watched));
        return false;
    }

private:
    QSize m_painted;
};

} // namespace

namespace Immagini {

QPixmap picture(const QString &name, int size)
{
    static QHash<QString, QPixmap> cache;
    const QString key = name + u'@' + QString::number(size) + u'x' + QString::number(pixelRatio());
    if (auto found = cache.constFind(key); found != cache.constEnd())
        return *found;
    QPixmap pixmap;
    if (const Entry *entry = findEntry(name))
        pixmap = render(entry->draw, size);
    else if (name.endsWith(u'D') && findEntry(name.chopped(1)))
        pixmap = greyedOut(picture(name.chopped(1), size));
    else
        return {};
    cache.insert(key, pixmap);
    return pixmap;
}

bool contains(const QString &name)
{
    return findEntry(name) || (name.endsWith(u'D') && findEntry(name.chopped(1)));
}

QString formFor(const QString &name, bool enabled)
{
    return enabled ? name : name + u'D';
}

QStringList buttonPictures()
{
    QStringList names;
    for (const Entry &entry : catalogue())
        names << entry.name;
    return names;
}

QStringList backgrounds()
{
    return {u"imgSfondoForm"_s, u"imgSfondoMain"_s, u"imgSfondo"_s, u"imgSplash"_s};
}

QPixmap background(const QString &name, const QSize &size)
{
    const BackgroundArt art = backgroundArt(name);
    if (!art || size.isEmpty())
        return {};
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    art(p, size);
    return pixmap;
}

void setBackground(QWidget *window, const QString &name)
{
    if (auto *keeper = dynamic_cast<BackgroundKeeper *>(
            window->findChild<QObject *>(KeeperName, Qt::FindDirectChildrenOnly))) {
        keeper->m_name = name;
        keeper->apply(window);
        return;
    }
    new BackgroundKeeper(window, name);
}

QPixmap handPicture()
{
    static const QPixmap hand = [] {
        QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.moveTo(9.5, 3);
        path.cubicTo(9.5, 0.8, 13.5, 0.8, 13.5, 3);
        path.lineTo(13.5, 13);
        path.cubicTo(13.5, 11, 17.5, 11, 17.5, 13.5);
        path.cubicTo(17.5, 11.5, 21.5, 11.5, 21.5, 14.5);
        path.cubicTo(21.5, 12.5, 25.5, 12.5, 25.5, 15.5);
        path.lineTo(25.5, 22);
        path.cubicTo(25.5, 26, 23.5, 29, 22, 30);
        path.lineTo(11.5, 30);
        path.cubicTo(10, 27.5, 7, 24, 4, 19.5);
        path.cubicTo(2.8, 17.6, 5.2, 15.6, 7, 17.2);
        path.lineTo(9.5, 19.5);
        path.closeSubpath();
        p.setPen(outline(Qt::black, 1.3));
        p.setBrush(Qt::white);
        p.drawPath(path);
        p.setPen(outline(QColor(0, 0, 0, 150), 1.0));
        p.drawLine(QPointF(13.5, 13), QPointF(13.5, 19.5));
        p.drawLine(QPointF(17.5, 13.5), QPointF(17.5, 19.5));
        p.drawLine(QPointF(21.5, 14.5), QPointF(21.5, 19.5));
        p.end();
        return QPixmap::fromImage(image);
    }();
    return hand;
}

QCursor handCursor()
{
    // The tip of the index finger points.
    return QCursor(handPicture(), 11, 1);
}

} // namespace Immagini
