// Ruler controls: millimetre placement, the kept scale image, marker pictures and the tab
// markers' control array.
#include "document/Ruler.h"

#include "platform/Screen.h"
#include "text/TextFormat.h"

#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVariant>
#include <algorithm>
#include <climits>
#include <cmath>

namespace Ruler {

int pixels(double mm)
{
    // Kept inside int's range, so no length is ever too large to place.
    const double exact = mm * TextFormat::pixelsPerMm();
    if (!std::isfinite(exact))
        return 0;
    return static_cast<int>(std::lround(std::clamp(exact, double(INT_MIN), double(INT_MAX))));
}

double millimetres(double pixels)
{
    return pixels / TextFormat::pixelsPerMm();
}

QWidget *box(const QWidget *marker)
{
    return qobject_cast<QWidget *>(marker->property("RulerBox").value<QObject *>());
}

namespace {

// A marker stands beside its box in the strip, so that it shows whole where it reaches over
// the box's ends; its place is still measured from the box.
QPoint origin(const QWidget *control)
{
    const QWidget *anchor = box(control);
    return anchor ? anchor->pos() : QPoint();
}

} // namespace

double leftMm(const QWidget *control)
{
    return millimetres(control->x() - origin(control).x());
}

double widthMm(const QWidget *control)
{
    return millimetres(control->width());
}

double heightMm(const QWidget *control)
{
    return millimetres(control->height());
}

void setLeftMm(QWidget *control, double mm)
{
    control->move(origin(control).x() + pixels(mm), control->y());
}

void setTopMm(QWidget *control, double mm)
{
    control->move(control->x(), origin(control).y() + pixels(mm));
}

void setWidthMm(QWidget *control, double mm)
{
    control->resize(pixels(mm), control->height());
}

void setHeightMm(QWidget *control, double mm)
{
    control->resize(control->width(), pixels(mm));
}

QString tag(const QObject *marker)
{
    return marker->property("Tag").toString();
}

void setTag(QObject *marker, const QString &tag)
{
    marker->setProperty("Tag", tag);
}

QString tabTag(int number)
{
    return QLatin1Char(' ') + QString::number(number);
}

bool isIndentTag(const QString &tag)
{
    return tag.startsWith(QLatin1String("Rand"));
}

namespace {

const QColor outline(64, 64, 64);
const QColor face(212, 208, 200);

// Triangle with its base on one row and its point on the other, centred on the marker.
QPolygonF triangle(double centre, double halfWidth, double baseRow, double pointRow)
{
    return QPolygonF({QPointF(centre - halfWidth, baseRow), QPointF(centre + halfWidth, baseRow),
                      QPointF(centre, pointRow)});
}

// Only the band between the rows shows inside the box; the shape fills that band.
QPixmap picture(MarkerShape shape, QSize size, int bandTop, int bandBottom)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(outline, 1));
    painter.setBrush(face);
    const double centre = size.width() / 2.0;
    const double top = bandTop + 0.5;
    const double bottom = bandBottom - 0.5;
    const double band = bottom - top;
    switch (shape) {
    case MarkerShape::FirstLineIndent:
        painter.drawPolygon(triangle(centre, std::min(band, centre - 1), top, bottom));
        break;
    case MarkerShape::LeftIndent: {
        // The box below the point moves both left indents together.
        const double point = top + band * 0.55;
        const double halfWidth = std::min(point - top, centre - 1);
        painter.drawPolygon(triangle(centre, halfWidth, point, top));
        painter.drawRect(QRectF(centre - halfWidth, point, 2 * halfWidth, bottom - point));
        break;
    }
    case MarkerShape::RightIndent: {
        const double point = top + band * 0.55;
        painter.drawPolygon(triangle(centre, std::min(point - top, centre - 1), point, top));
        break;
    }
    case MarkerShape::LeftTab: {
        // An L: the stroke stands on the stop, the foot points the way the text runs.
        const int stem = static_cast<int>(centre) - 1;
        const int foot = std::max(bandTop + 2, bandBottom - 4);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillRect(QRect(stem, foot - 5, 2, 7), Qt::black);
        painter.fillRect(QRect(stem, foot, 7, 2), Qt::black);
        break;
    }
    }
    return pixmap;
}

} // namespace

QLabel *createMarker(QWidget *box, MarkerShape shape, double topMm, const QString &tag,
                     const QString &toolTip)
{
    auto *marker = new QLabel(box->parentWidget());
    marker->setProperty("RulerBox", QVariant::fromValue<QObject *>(box));
    marker->setFixedSize(Screen::pixelsFromTwipsX(markerTwips),
                         Screen::pixelsFromTwipsY(markerTwips));
    marker->move(box->x(), box->y() + pixels(topMm));
    const int top = marker->y() - box->y();
    const int bandTop = std::clamp(-top, 0, marker->height());
    const int bandBottom = std::clamp(box->height() - top, bandTop, marker->height());
    const QPixmap drawn = picture(shape, marker->size(), bandTop, bandBottom);
    marker->setPixmap(drawn);
    // The marker takes the mouse only where it shows, never above or below the box.
    const QRect shown = QRegion(drawn.mask()).boundingRect();
    marker->setMask(QRegion(shown.left() - 1, bandTop, shown.width() + 2, bandBottom - bandTop));
    marker->setToolTip(toolTip);
    if (!tag.isEmpty())
        setTag(marker, tag);
    return marker;
}

} // namespace Ruler

RulerBox::RulerBox(QWidget *parent, const QColor &colour) : QWidget(parent), colour(colour)
{
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
}

double RulerBox::textHeightMm(const QString &text) const
{
    return Ruler::millimetres(QFontMetricsF(font()).size(0, text).height());
}

void RulerBox::drawScale()
{
    const qreal ratio = devicePixelRatioF();
    scale = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    scale.setDevicePixelRatio(ratio);
    scale.fill(Qt::transparent);
    QPainter painter(&scale);
    painter.setFont(font());
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(font());
    const double middle = (Ruler::heightMm(this) - 2) / 2;
    const int end = Ruler::pixels(middle + 2);
    for (int step = 1; step * 2.5 <= Ruler::maxBoxWidthMm; ++step) {
        const double x = step * 2.5;
        const int start = Ruler::pixels(step % 2 == 0 ? middle : middle + 1);
        painter.fillRect(QRect(Ruler::pixels(x), start, 1, end - start), Qt::black);
    }
    // A two-digit number reaches over the next mark; the mark gives way so the number stays
    // readable.
    for (int cm = 1; cm * 10 <= Ruler::maxBoxWidthMm; ++cm) {
        const QString number = QString::number(cm);
        const QPointF origin(Ruler::pixels(cm * 10 + 0.5), metrics.ascent());
        painter.setCompositionMode(QPainter::CompositionMode_Clear);
        painter.fillRect(numberArea(number, origin), Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.drawText(origin, number);
    }
}

QRect RulerBox::numberArea(const QString &number, QPointF origin) const
{
    return QFontMetricsF(font())
        .tightBoundingRect(number)
        .translated(origin)
        .toAlignedRect()
        .adjusted(0, -1, 0, 1);
}

void RulerBox::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), colour);
    painter.drawImage(QPointF(0, 0), scale);
}

void RulerStrip::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    emit Resize();
}

void ImageArray::setTemplate(QLabel *element)
{
    element0 = element;
    element0->hide();
}

QLabel *ImageArray::operator()(int index) const
{
    return index == 0 ? element0 : elements.value(index);
}

QLabel *ImageArray::Load(int index)
{
    if (QLabel *loaded = (*this)(index))
        return loaded;
    auto *copy = new QLabel(element0->parentWidget());
    copy->setObjectName(element0->objectName());
    copy->setFixedSize(element0->size());
    copy->move(element0->pos());
    copy->setPixmap(element0->pixmap());
    copy->setToolTip(element0->toolTip());
    copy->setMask(element0->mask());
    copy->setProperty("RulerBox", element0->property("RulerBox"));
    if (element0->property("Tag").isValid())
        Ruler::setTag(copy, Ruler::tag(element0));
    copy->hide();
    elements.insert(index, copy);
    return copy;
}

void ImageArray::Unload(int index)
{
    QLabel *element = elements.take(index);
    if (!element)
        return;
    // The element may be the one whose mouse event is running; the box frees it at the latest.
    element->hide();
    element->deleteLater();
}

int ImageArray::count() const
{
    return static_cast<int>(elements.size());
}
