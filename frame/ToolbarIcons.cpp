// Small line drawings for the toolbar buttons, one per key.
#include "frame/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int Size = 32;

void paper(QPainter &p, double x, double y, double w, double h)
{
    QPainterPath sheet;
    sheet.moveTo(x, y);
    sheet.lineTo(x + w - 6, y);
    sheet.lineTo(x + w, y + 6);
    sheet.lineTo(x + w, y + h);
    sheet.lineTo(x, y + h);
    sheet.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(sheet);
}

void textLines(QPainter &p, double left, double right, double top, int count, double step)
{
    for (int i = 0; i < count; ++i)
        p.drawLine(QPointF(left, top + i * step), QPointF(right, top + i * step));
}

void letter(QPainter &p, const QString &text, bool bold, bool italic, bool underline, bool strike)
{
    QFont font(QStringLiteral("Serif"));
    font.setPixelSize(24);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strike);
    p.setFont(font);
    p.drawText(QRect(0, 0, Size, Size), Qt::AlignCenter, text);
}

void alignment(QPainter &p, int align)
{
    const int widths[] = {22, 14, 22, 16, 22};
    for (int i = 0; i < 5; ++i) {
        const int w = widths[i];
        const int left = align == 0 ? 5 : align == 1 ? 27 - w : (Size - w) / 2;
        p.drawLine(left, 7 + i * 4, left + w, 7 + i * 4);
    }
}

void draw(QPainter &p, const QString &key)
{
    QPen pen(QColor(40, 40, 40), 1.6);
    p.setPen(pen);
    if (key == QLatin1String("New")) {
        paper(p, 7, 3, 18, 26);
    } else if (key == QLatin1String("Open")) {
        p.setBrush(QColor(240, 200, 90));
        p.drawRect(QRectF(3, 10, 26, 17));
        p.drawRect(QRectF(3, 7, 10, 4));
    } else if (key == QLatin1String("Save")) {
        p.setBrush(QColor(70, 110, 190));
        p.drawRect(QRectF(4, 4, 24, 24));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 4, 14, 9));
        p.drawRect(QRectF(8, 18, 16, 10));
    } else if (key == QLatin1String("Print")) {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 3, 14, 10));
        p.setBrush(QColor(160, 160, 160));
        p.drawRect(QRectF(3, 12, 26, 11));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 20, 14, 9));
    } else if (key == QLatin1String("Undo")) {
        QPainterPath arc;
        arc.moveTo(26, 24);
        arc.cubicTo(26, 8, 10, 8, 8, 16);
        p.drawPath(arc);
        p.setBrush(pen.color());
        p.drawPolygon(QPolygonF({QPointF(3, 12), QPointF(12, 13), QPointF(7, 21)}));
    } else if (key == QLatin1String("Cut")) {
        p.drawEllipse(QRectF(5, 20, 8, 8));
        p.drawEllipse(QRectF(19, 20, 8, 8));
        p.drawLine(11, 21, 22, 3);
        p.drawLine(21, 21, 10, 3);
    } else if (key == QLatin1String("Copy")) {
        paper(p, 4, 3, 15, 19);
        paper(p, 13, 10, 15, 19);
    } else if (key == QLatin1String("Paste")) {
        p.setBrush(QColor(190, 140, 80));
        p.drawRect(QRectF(5, 5, 18, 23));
        paper(p, 13, 11, 15, 18);
        textLines(p, 16, 25, 17, 3, 4);
    } else if (key == QLatin1String("Bold")) {
        letter(p, QStringLiteral("F"), true, false, false, false);
    } else if (key == QLatin1String("Italic")) {
        letter(p, QStringLiteral("K"), false, true, false, false);
    } else if (key == QLatin1String("Underline")) {
        letter(p, QStringLiteral("U"), false, false, true, false);
    } else if (key == QLatin1String("Strikethrough")) {
        letter(p, QStringLiteral("S"), false, false, false, true);
    } else if (key == QLatin1String("Left")) {
        alignment(p, 0);
    } else if (key == QLatin1String("Right")) {
        alignment(p, 1);
    } else if (key == QLatin1String("Center")) {
        alignment(p, 2);
    } else if (key == QLatin1String("Help")) {
        p.setBrush(QColor(250, 230, 120));
        p.drawEllipse(QRectF(3, 3, 26, 26));
        letter(p, QStringLiteral("?"), true, false, false, false);
    }
}

} // namespace

QIcon toolbarIcon(const QString &key)
{
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter, key);
    painter.end();
    return QIcon(pixmap);
}
