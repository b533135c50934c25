// frmImage's preview: the picture at its own size in the viewport, and the two scroll bars
// laid out in two passes, each pass starting from the bars the last one left shown.
#include "pictures/Picture.h"
#include "platform/MsgBox.h"
#include "platform/Screen.h"
#include "tools/PreviewLoader.h"
#include "tools/frmImage.h"

#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>

namespace {

constexpr int barLimit = 32767;

// To the nearest whole number, a half to the even neighbour.
int roundEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

// Range and steps of a shown bar. An overhang past the bar's 16-bit range is counted in
// coarser units, so that the whole picture stays reachable.
void setRange(PreviewBar &bar, double overhang, double length)
{
    const int maximum = std::max(0, roundEven(overhang));
    bar.overhang = maximum;
    bar.unit = maximum > barLimit ? (maximum + barLimit - 1) / barLimit : 1;
    bar.bar->setRange(0, (maximum + bar.unit - 1) / bar.unit);
    const int largeChange = std::clamp(roundEven(length / bar.unit), 1, barLimit);
    bar.bar->setPageStep(largeChange);
    bar.bar->setSingleStep(std::max(1, static_cast<int>(std::floor(largeChange / 5.0))));
}

} // namespace

void frmImage::placeBar(PreviewBar &bar)
{
    bar.bar->setGeometry(bar.box.pixels());
    bar.bar->raise();
}

void frmImage::placeBild1()
{
    Bild1->setGeometry(Bild1Box.pixels());
}

void frmImage::Picture1_Resize()
{
    Bild1Box.Top = 0;
    Bild1Box.Left = 0;
    placeBild1();
    layOutBarsOnce();
    layOutBarsOnce();
}

void frmImage::layOutBarsOnce()
{
    const double SW = Picture1Box.Width;
    const double SH = Picture1Box.Height;
    const double PW = Bild1Box.Width;
    const double PH = Bild1Box.Height;
    const double VW = VScroll.box.Width;
    const double HH = HScroll.box.Height;
    // A bar's thickness counts against the other direction only while that bar is shown.
    const bool horizontalShown = !HScroll.bar->isHidden();
    const bool verticalShown = !VScroll.bar->isHidden();
    const float spaceHigh = horizontalShown ? static_cast<float>(SH - HH) : static_cast<float>(SH);
    const float spaceWide = verticalShown ? static_cast<float>(SW - VW) : static_cast<float>(SW);
    const bool verticalNeeded = PH > spaceHigh;
    const bool horizontalNeeded = PW > spaceWide;

    if (verticalNeeded) {
        const double height = horizontalNeeded ? SH - HH : SH;
        VScroll.bar->show();
        VScroll.box = {SW - VW, 0, VW, height};
        placeBar(VScroll);
        setRange(VScroll, PH - height, VScroll.box.Height);
    }
    if (horizontalNeeded) {
        const double width = verticalNeeded ? SW - VW : SW;
        HScroll.bar->show();
        HScroll.box = {0, SH - HH, width, HH};
        placeBar(HScroll);
        setRange(HScroll, PW - width, HScroll.box.Width);
    }
    if (!verticalNeeded)
        VScroll.bar->hide();
    if (!horizontalNeeded)
        HScroll.bar->hide();
}

void frmImage::Bild1_Change()
{
    Picture1_Resize();
}

void frmImage::setBild1Picture(const DecodedPicture &picture)
{
    Bild1->setPixmap(QPixmap::fromImage(picture.image));
    Bild1Box.Width = picture.widthTwips;
    Bild1Box.Height = picture.heightTwips;
    Bild1_Change();
}

void frmImage::ListView1_ItemClick(QTreeWidgetItem *item)
{
    // The picture loads away from the window; it shows when it is ready.
    previewLoader->request(listedDrive, Key(item));
}

void frmImage::showLoadedPicture(const QString &path, const std::optional<DecodedPicture> &picture)
{
    if (!picture) {
        MsgBox(QStringLiteral("Die Datei \"%1\" kann nicht als Grafik angezeigt werden.").arg(path),
               vbInformation, QStringLiteral("Grafik einfügen"));
        return;
    }
    setBild1Picture(*picture);
    HScroll.bar->setValue(0);
    VScroll.bar->setValue(0);
}

void frmImage::HScroll_Change()
{
    Bild1Box.Left = -HScroll.offset();
    placeBild1();
}

void frmImage::HScroll_Scroll()
{
    HScroll_Change();
}

void frmImage::VScroll_Change()
{
    Bild1Box.Top = -VScroll.offset();
    placeBild1();
}

void frmImage::VScroll_Scroll()
{
    VScroll_Change();
}

double PreviewBar::offset() const
{
    return std::min(bar->value() * unit, std::max(overhang, bar->value()));
}
