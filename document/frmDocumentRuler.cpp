// The rich-text window's ruler under the mouse: dragging the indent and tab markers, adding a
// stop with a click, dragging the text's right end, and scrolling the row of ruler boxes.
#include "common/Grid.h"
#include "common/PageSettings.h"
#include "document/StripLayout.h"
#include "document/frmDocument.h"
#include "platform/Screen.h"
#include "text/RichTextBox.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QScrollBar>
#include <cmath>

namespace {

// Marker drops come in twips from the marker's corner.
constexpr double twipsPerMm = 56.7;

// A tab marker's number, read back from its Tag.
int markerNumber(const QWidget *marker)
{
    return static_cast<int>(std::lround(Ruler::tag(marker).trimmed().toDouble()));
}

// The selection's tab count, or none when its paragraphs' stops differ, in number or in place.
std::optional<int> commonTabCount(const RichTextBox &text)
{
    const std::optional<int> count = text.SelTabCount();
    if (!count)
        return std::nullopt;
    for (int i = 0; i < *count; ++i)
        if (!text.SelTabs(i))
            return std::nullopt;
    return count;
}

} // namespace

void frmDocument::connectRuler()
{
    using Unit = ControlMouse::Unit;
    rulerMouse = new ControlMouse(this, Unit::Millimetres);
    ControlMouse &mouse = *rulerMouse;

    mouse.onMouseDown(imgLU, [this](const Mouse &e) { imgLU_MouseDown(e); });
    mouse.onMouseUp(imgLU, [this](const Mouse &e) { imgLU_MouseUp(e); });
    mouse.setDragAutomatic(imgLO);
    mouse.setDragAutomatic(imgRU);
    const std::pair<QLabel *, void (frmDocument::*)(QWidget *, double, double)> markers[] = {
        {imgLO, &frmDocument::imgLO_DragDrop},
        {imgLU, &frmDocument::imgLU_DragDrop},
        {imgRU, &frmDocument::imgRU_DragDrop},
    };
    for (const auto &[marker, handler] : markers) {
        mouse.setUnit(marker, Unit::Twips);
        mouse.onDragDrop(marker, [this, handler](QWidget *source, double x, double y) {
            (this->*handler)(source, x, y);
        });
    }
    mouse.onMouseMove(imgLO, [this](const Mouse &e) { imgLO_MouseMove(e); });
    mouse.onMouseMove(imgLU, [this](const Mouse &e) { imgLU_MouseMove(e); });
    mouse.onMouseMove(imgRU, [this](const Mouse &e) { imgRU_MouseMove(e); });

    mouse.onDragDrop(pboxLineal, [this](QWidget *source, double x, double y) {
        pboxLineal_DragDrop(source, x, y);
    });
    mouse.onMouseUp(pboxLineal, [this](const Mouse &e) { pboxLineal_MouseUp(e); });
    mouse.onMouseMove(pboxLineal, [this](const Mouse &e) { pboxLineal_MouseMove(e); });
    mouse.onMouseMove(pboxLinealLinks, [this](const Mouse &e) { pboxLinealLinks_MouseMove(e); });
    mouse.onMouseMove(pboxLinealRechts, [this](const Mouse &e) { pboxLinealRechts_MouseMove(e); });
    mouse.onMouseMove(Picture1, [this](const Mouse &e) { Picture1_MouseMove(e); });

    const std::pair<QWidget *, void (frmDocument::*)(QWidget *, double, double)> elsewhere[] = {
        {this, &frmDocument::Form_DragDrop},
        {Picture1, &frmDocument::Picture1_DragDrop},
        {HScroll, &frmDocument::HScroll_DragDrop},
        {pboxLinealLinks, &frmDocument::pboxLinealLinks_DragDrop},
        {pboxLinealRechts, &frmDocument::pboxLinealRechts_DragDrop},
        {txtText, &frmDocument::txtText_DragDrop},
    };
    for (const auto &[control, handler] : elsewhere)
        mouse.onDragDrop(control, [this, handler](QWidget *source, double x, double y) {
            (this->*handler)(source, x, y);
        });
    // The vertical bar has no drop handler: a marker dropped there stays where it was.
    mouse.onDragDrop(VScroll, {});

    connect(static_cast<RulerStrip *>(Picture1), &RulerStrip::Resize, this,
            &frmDocument::Picture1_Resize);
    connect(HScroll, &QScrollBar::valueChanged, this, &frmDocument::HScroll_Change);
    connect(HScroll, &QScrollBar::sliderMoved, this, &frmDocument::HScroll_Scroll);
}

void frmDocument::connectTabMarker(QLabel *marker)
{
    rulerMouse->setDragAutomatic(marker);
    rulerMouse->setUnit(marker, ControlMouse::Unit::Twips);
    rulerMouse->onDragDrop(marker, [this, marker](QWidget *source, double x, double y) {
        imgTab_DragDrop(marker, source, x, y);
    });
    rulerMouse->onMouseMove(marker, [this](const Mouse &e) { imgTab_MouseMove(e); });
}

void frmDocument::imgLU_MouseDown(const Mouse &event)
{
    EinzugKomplett = event.Button == ControlMouse::vbRightButton;
    rulerMouse->Drag(imgLU, ControlMouse::vbBeginDrag);
}

void frmDocument::imgLU_MouseUp(const Mouse &)
{
    rulerMouse->Drag(imgLU, ControlMouse::vbEndDrag);
}

void frmDocument::pboxLineal_DragDrop(QWidget *Source, double X, double)
{
    const std::optional<double> indent = txtText->SelIndent();
    const float I = static_cast<float>(AufRasterRunden(indent.value_or(0)));
    const float H
        = static_cast<float>(AufRasterRundenGespiegelt(txtText->SelHangingIndent().value_or(0)));
    const float R = static_cast<float>(AufRasterRunden(txtText->SelRightIndent().value_or(0)));
    const float x = static_cast<float>(AufRasterRunden(X));
    const float margin = static_cast<float>(txtText->RightMargin());
    const QString tag = Ruler::tag(Source);

    bool allowed = true;
    if (tag == QLatin1String("RandLO"))
        allowed = margin - R - x >= 40;
    else if (tag == QLatin1String("RandLU"))
        allowed = margin - R - x >= 40 && (!EinzugKomplett || x - H >= 0);
    else if (tag == QLatin1String("RandRU"))
        allowed = x - I - H >= 40 && indent && x - static_cast<float>(std::floor(*indent)) >= 40;
    if (!allowed) {
        Beep();
        return;
    }

    double left = x - Ruler::widthMm(Source) / 2;
    if (tag == QLatin1String("RandRU") && margin == x)
        left -= 1;
    Ruler::setLeftMm(Source, left);

    const RichTextBox::UndoStep step(txtText);
    if (tag == QLatin1String("RandLO")) {
        txtText->setSelIndent(x);
        txtText->setSelHangingIndent(H + I - x);
    } else if (tag == QLatin1String("RandLU") && !EinzugKomplett) {
        txtText->setSelHangingIndent(x - I);
    } else if (tag == QLatin1String("RandLU")) {
        txtText->setSelIndent(x - H);
        Einzugaktualisierung();
    } else if (tag == QLatin1String("RandRU")) {
        txtText->setSelRightIndent(margin - x);
    } else {
        txtText->setSelTabs(markerNumber(Source) - 1, x);
    }
}

void frmDocument::dropOnMarker(QWidget *target, QWidget *Source, double X, double Y)
{
    pboxLineal_DragDrop(Source, Ruler::leftMm(target) + X / twipsPerMm, Y / twipsPerMm);
}

void frmDocument::imgLO_DragDrop(QWidget *Source, double X, double Y)
{
    dropOnMarker(imgLO, Source, X, Y);
}

void frmDocument::imgLU_DragDrop(QWidget *Source, double X, double Y)
{
    dropOnMarker(imgLU, Source, X, Y);
}

void frmDocument::imgRU_DragDrop(QWidget *Source, double X, double Y)
{
    dropOnMarker(imgRU, Source, X, Y);
}

void frmDocument::imgTab_DragDrop(QLabel *target, QWidget *Source, double X, double Y)
{
    dropOnMarker(target, Source, X, Y);
}

void frmDocument::dropOffRuler(QWidget *Source)
{
    if (Ruler::isIndentTag(Ruler::tag(Source))) {
        Beep();
        return;
    }
    const int k = markerNumber(Source);
    if (k < 1 || k > Tabanzahl)
        return;
    for (int i = k; i < Tabanzahl; ++i) {
        QLabel *marker = imgTab(i);
        marker->move(imgTab(i + 1)->x(), marker->y());
        Ruler::setTag(marker, Ruler::tabTag(i));
    }
    imgTab.Unload(Tabanzahl);
    --Tabanzahl;

    // With no common list there is no stop k to take out.
    const std::optional<int> count = commonTabCount(*txtText);
    if (!count)
        return;
    const RichTextBox::UndoStep step(txtText);
    for (int i = k; i < *count; ++i)
        if (const std::optional<double> next = txtText->SelTabs(i))
            txtText->setSelTabs(i - 1, *next);
    txtText->setSelTabCount(*count - 1);
}

void frmDocument::Form_DragDrop(QWidget *Source, double, double)
{
    dropOffRuler(Source);
}

void frmDocument::Picture1_DragDrop(QWidget *Source, double, double)
{
    dropOffRuler(Source);
}

void frmDocument::HScroll_DragDrop(QWidget *Source, double, double)
{
    dropOffRuler(Source);
}

void frmDocument::pboxLinealLinks_DragDrop(QWidget *Source, double, double)
{
    dropOffRuler(Source);
}

void frmDocument::pboxLinealRechts_DragDrop(QWidget *Source, double, double)
{
    dropOffRuler(Source);
}

void frmDocument::txtText_DragDrop(QWidget *Source, double, double)
{
    dropOffRuler(Source);
}

void frmDocument::pboxLineal_MouseUp(const Mouse &event)
{
    if (Screen::MousePointer() != Screen::vbDefault)
        return;
    const std::optional<int> count = commonTabCount(*txtText);
    // The control holds only so many stops; one more is refused like any ruler change.
    if (Tabanzahl >= RichTextBox::MaxTabStops || count.value_or(0) >= RichTextBox::MaxTabStops) {
        Beep();
        return;
    }
    const double x = AufRasterRunden(event.X);
    ++Tabanzahl;
    loadTabMarker(Tabanzahl, x);
    const RichTextBox::UndoStep step(txtText);
    txtText->setSelTabCount(count ? *count + 1 : 1);
    txtText->setSelTabs(Tabanzahl - 1, x);
}

void frmDocument::pboxLineal_MouseMove(const Mouse &event)
{
    const bool inSizingZone = event.X > Ruler::widthMm(pboxLineal) - 2;
    Screen::setMousePointer(inSizingZone ? Screen::vbSizeWE : Screen::vbDefault);
    const QPointer<frmDocument> alive(this);
    QCoreApplication::processEvents();
    if (!alive)
        return;
    // Other moves may have run meanwhile; the pointer as it is now decides.
    if (Screen::MousePointer() != Screen::vbSizeWE || event.Button != ControlMouse::vbLeftButton)
        return;
    const std::optional<double> right = txtText->SelRightIndent();
    const std::optional<double> hanging = txtText->SelHangingIndent();
    const std::optional<double> indent = txtText->SelIndent();
    if (!right || !hanging || !indent)
        return;
    const float w = static_cast<float>(AufRasterRunden(event.X));
    const bool allowed = w - static_cast<float>(*indent) - static_cast<float>(*right) >= 40
        && w + Page::RandLinks <= Page::Seitenbreite - 5 && w >= 40;
    if (!allowed)
        return;
    txtText->setRightMargin(w);
    Ruler::setWidthMm(pboxLineal, w);
    Page::RandRechts
        = (Page::Seitenbreite - Page::RandLinks) - static_cast<float>(txtText->RightMargin());
    imgRU->setVisible(true);
    double left = txtText->RightMargin() - *right - Ruler::widthMm(imgRU) / 2;
    if (*right == 0)
        left -= 1;
    Ruler::setLeftMm(imgRU, left);
    Ruler::setWidthMm(pboxLinealRechts, Page::RandRechts);
    pboxLinealRechts->move(pboxLineal->x() + pboxLineal->width(), pboxLinealRechts->y());
}

void frmDocument::imgLO_MouseMove(const Mouse &)
{
    Screen::setMousePointer(Screen::vbDefault);
}

void frmDocument::imgLU_MouseMove(const Mouse &)
{
    Screen::setMousePointer(Screen::vbDefault);
}

void frmDocument::imgRU_MouseMove(const Mouse &)
{
    Screen::setMousePointer(Screen::vbDefault);
}

void frmDocument::imgTab_MouseMove(const Mouse &)
{
    Screen::setMousePointer(Screen::vbDefault);
}

void frmDocument::pboxLinealRechts_MouseMove(const Mouse &)
{
    Screen::setMousePointer(Screen::vbDefault);
}

void frmDocument::Picture1_MouseMove(const Mouse &)
{
    Screen::setMousePointer(Screen::vbDefault);
}

void frmDocument::pboxLinealLinks_MouseMove(const Mouse &) { }

void frmDocument::Picture1_Resize()
{
    using namespace Ruler;
    StripLayout::Strip strip;
    strip.ScaleWidth = static_cast<float>(widthMm(Picture1));
    strip.ScaleHeight = static_cast<float>(heightMm(Picture1));
    strip.rowWidth = static_cast<float>(widthMm(pboxLinealLinks))
        + static_cast<float>(widthMm(pboxLineal)) + static_cast<float>(widthMm(pboxLinealRechts));
    strip.rowHeight = static_cast<float>(heightMm(pboxLineal));
    StripLayout::Bar vertical;
    vertical.Visible = !VScroll->isHidden();
    vertical.Width = static_cast<float>(widthMm(VScroll));
    StripLayout::Bar horizontal;
    horizontal.Visible = !HScroll->isHidden();
    horizontal.Height = static_cast<float>(heightMm(HScroll));
    StripLayout::layout(strip, vertical, horizontal);

    // The bars take the values only inside their valid range; the length read back from the bar
    // gives the steps.
    const auto apply = [](QScrollBar *bar, const StripLayout::Bar &values, bool horizontal) {
        if (!values.Visible) {
            bar->hide();
            return;
        }
        bar->setRange(values.Min, std::max(values.Min, values.Max));
        bar->move(pixels(values.Left), pixels(values.Top));
        if (horizontal)
            setWidthMm(bar, std::max(0.0f, values.Width));
        else
            setHeightMm(bar, std::max(0.0f, values.Height));
        const qint16 page
            = StripLayout::nearest(static_cast<float>(horizontal ? widthMm(bar) : heightMm(bar)));
        bar->setPageStep(std::max<int>(1, page));
        bar->setSingleStep(std::max(1, page / 5));
        bar->show();
    };
    apply(VScroll, vertical, false);
    apply(HScroll, horizontal, true);
    // A row that fits again goes back to its place; otherwise bar and row agree again.
    if (HScroll->isHidden())
        HScroll->setValue(0);
    placeRow();
}

void frmDocument::HScroll_Change()
{
    placeRow();
}

void frmDocument::HScroll_Scroll()
{
    placeRow();
}

void frmDocument::placeRow()
{
    const int before = pboxLineal->x();
    pboxLinealLinks->move(Ruler::pixels(-HScroll->value()), pboxLinealLinks->y());
    pboxLineal->move(pboxLinealLinks->x() + pboxLinealLinks->width(), pboxLineal->y());
    pboxLinealRechts->move(pboxLineal->x() + pboxLineal->width(), pboxLinealRechts->y());
    // The markers go with their box.
    const int shift = pboxLineal->x() - before;
    if (shift == 0)
        return;
    for (QLabel *marker : Picture1->findChildren<QLabel *>(Qt::FindDirectChildrenOnly))
        if (Ruler::box(marker) == pboxLineal)
            marker->move(marker->x() + shift, marker->y());
}
