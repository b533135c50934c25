// The controls the ruler is made of: boxes measured in millimetres that keep a drawn scale, the
// marker images with their tags and pictures, and the control array of the tab markers.
#pragma once

#include <QColor>
#include <QImage>
#include <QLabel>
#include <QMap>
#include <QWidget>

namespace Ruler {

// The box a marker belongs to, or nullptr for any other control.
QWidget *box(const QWidget *marker);

// Widgets are placed in pixels; the ruler thinks in millimetres. A marker's place is measured
// from its box.
int pixels(double mm);
double millimetres(double pixels);
double leftMm(const QWidget *control);
double widthMm(const QWidget *control);
double heightMm(const QWidget *control);
void setLeftMm(QWidget *control, double mm);
void setTopMm(QWidget *control, double mm);
void setWidthMm(QWidget *control, double mm);
void setHeightMm(QWidget *control, double mm);

// Widest a ruler box gets; its scale is drawn over this length.
constexpr double maxBoxWidthMm = 300;
// The left margin's share of the ruler: just enough for a marker at 0 mm to show whole.
constexpr double leftMarginMm = 2;
// Design size of a marker picture, and of the scroll bars' thickness.
constexpr double markerTwips = 384;
constexpr double scrollBarTwips = 252;

// The Tag ruler code tells its markers apart by: "RandLO", "RandLU", "RandRU" for the indents,
// one blank and the 1-based number for a tab marker.
QString tag(const QObject *marker);
void setTag(QObject *marker, const QString &tag);
QString tabTag(int number);
bool isIndentTag(const QString &tag);

enum class MarkerShape { FirstLineIndent, LeftIndent, RightIndent, LeftTab };

// A marker image of the design size on the box, at the given top. Its picture is drawn
// into the part that the box leaves visible there, so it must be placed before it is drawn.
QLabel *createMarker(QWidget *box, MarkerShape shape, double topMm, const QString &tag,
                     const QString &toolTip);

} // namespace Ruler

// A ruler box: a coloured picture box whose scale, drawn once, persists in its own image and
// shows again whenever the box is widened or repainted.
class RulerBox : public QWidget
{
    Q_OBJECT
public:
    RulerBox(QWidget *parent, const QColor &colour);

    double textHeightMm(const QString &text) const;
    // Millimetre marks every 2.5 mm and the centimetres printed every 10 mm, over the box's
    // current size, from its left edge.
    void drawScale();
    // Where a scale number printed from the origin (left end of its baseline) keeps the marks
    // away, in pixels of the box.
    QRect numberArea(const QString &number, QPointF origin) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor colour;
    QImage scale;
};

// The ruler strip: a container that reports its changes of size.
class RulerStrip : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

signals:
    void Resize();

protected:
    void resizeEvent(QResizeEvent *event) override;
};

// A control array of images. Element 0 is the template, never shown nor removed; the others are
// loaded as hidden copies of it and unloaded again.
class ImageArray
{
public:
    void setTemplate(QLabel *element0);
    // The loaded element, or nullptr.
    QLabel *operator()(int index) const;
    // A loaded element is returned as it is.
    QLabel *Load(int index);
    // Element 0 and elements not loaded stay as they are.
    void Unload(int index);
    // Loaded elements besides the template.
    int count() const;

private:
    QLabel *element0 = nullptr;
    QMap<int, QLabel *> elements;
};
