// Drawn at 16 pixels so they need no shipped files and stay sharp on the tree's rows.
#include "tools/BrowserImages.h"

#include <QPainter>
#include <QPixmap>

namespace {

constexpr int edge = 16;

void drawFolder(QPainter &p, bool open)
{
    p.setPen(QColor(0x80, 0x60, 0x00));
    p.setBrush(QColor(0xF0, 0xC8, 0x40));
    p.drawRect(1, 4, 13, 10);
    p.drawRect(1, 2, 5, 2);
    if (open) {
        p.setBrush(QColor(0xFF, 0xE4, 0x80));
        QPolygon front;
        front << QPoint(3, 7) << QPoint(15, 7) << QPoint(13, 14) << QPoint(1, 14);
        p.drawPolygon(front);
    }
}

void drawDocument(QPainter &p)
{
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    QPolygon page;
    page << QPoint(3, 1) << QPoint(10, 1) << QPoint(13, 4) << QPoint(13, 14) << QPoint(3, 14);
    p.drawPolygon(page);
    p.drawLine(10, 1, 10, 4);
    p.drawLine(10, 4, 13, 4);
    p.setPen(QColor(0x40, 0x40, 0xA0));
    for (int y = 6; y <= 12; y += 2)
        p.drawLine(5, y, 11, y);
}

void drawFloppy(QPainter &p)
{
    p.setPen(Qt::black);
    p.setBrush(QColor(0x30, 0x30, 0x90));
    p.drawRect(1, 1, 13, 13);
    p.setBrush(QColor(0xC0, 0xC0, 0xC0));
    p.drawRect(4, 1, 7, 4);
    p.setBrush(Qt::white);
    p.drawRect(3, 8, 9, 6);
}

void drawHarddisk(QPainter &p)
{
    p.setPen(Qt::black);
    p.setBrush(QColor(0xC0, 0xC0, 0xC0));
    p.drawRect(1, 5, 13, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x00, 0xC0, 0x00));
    p.drawRect(11, 9, 2, 1);
}

void drawNetdrive(QPainter &p, const QColor &cable)
{
    drawHarddisk(p);
    p.setPen(cable);
    p.drawLine(7, 11, 7, 14);
    p.drawLine(3, 14, 12, 14);
}

void drawCd(QPainter &p)
{
    p.setPen(Qt::black);
    p.setBrush(QColor(0xD8, 0xD8, 0xE8));
    p.drawEllipse(1, 1, 13, 13);
    p.setBrush(Qt::white);
    p.drawEllipse(6, 6, 3, 3);
}

} // namespace

QIcon browserImage(int index)
{
    if (index < 1 || index > 8)
        return QIcon();
    QPixmap pixmap(edge, edge);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    switch (index) {
    case 1:
        drawFolder(painter, false);
        break;
    case 2:
        drawFolder(painter, true);
        break;
    case 3:
        drawDocument(painter);
        break;
    case 4:
        drawFloppy(painter);
        break;
    case 5:
        drawHarddisk(painter);
        break;
    case 6:
        drawNetdrive(painter, Qt::black);
        break;
    case 7:
        drawNetdrive(painter, QColor(0x00, 0x60, 0xC0));
        break;
    case 8:
        drawCd(painter);
        break;
    }
    painter.end();
    return QIcon(pixmap);
}
