// Placement, conversions and the active document for the formatting dialog.
#include "format/OptionsSupport.h"

#include "document/DocumentHost.h"
#include "document/Ruler.h"
#include "document/frmDocument.h"
#include "platform/Screen.h"

#include <QListWidget>
#include <QLocale>
#include <climits>
#include <cmath>

namespace OptionsSupport {

void place(QWidget *widget, int left, int top, int width, int height)
{
    if (width < 0) {
        widget->adjustSize();
        widget->move(Screen::pixelsFromTwipsX(left), Screen::pixelsFromTwipsY(top));
        return;
    }
    widget->setGeometry(Screen::pixelsFromTwipsX(left), Screen::pixelsFromTwipsY(top),
                        Screen::pixelsFromTwipsX(width), Screen::pixelsFromTwipsY(height));
}

void placeMm(QWidget *widget, double left, double top, double width, double height)
{
    widget->setGeometry(Ruler::pixels(left), Ruler::pixels(top), Ruler::pixels(width),
                        Ruler::pixels(height));
}

int listIndex(const QListWidget *list)
{
    const QListWidgetItem *item = list->currentItem();
    return item && item->isSelected() ? list->row(item) : -1;
}

void setListIndex(QListWidget *list, int index)
{
    if (index < 0 || index >= list->count()) {
        list->clearSelection();
        list->setCurrentRow(-1);
        return;
    }
    list->setCurrentRow(index);
}

int wholeNumber(double value)
{
    if (!std::isfinite(value))
        return 0;
    return static_cast<int>(std::clamp(value, double(INT_MIN), double(INT_MAX)));
}

int roundedToEven(double value)
{
    return wholeNumber(std::nearbyint(value));
}

// The dialogs write numbers the German way whatever the process locale.
static QLocale german()
{
    return QLocale(QLocale::German, QLocale::Germany);
}

QString tabText(double mm)
{
    return german().toString(static_cast<float>(mm), 'g', 7);
}

float tabValue(const QString &text)
{
    return german().toFloat(text);
}

frmDocument *activeDocument()
{
    return MainForm() ? qobject_cast<frmDocument *>(MainForm()->ActiveForm()) : nullptr;
}

RichTextBox *activeText()
{
    frmDocument *document = activeDocument();
    return document ? document->txtText : nullptr;
}

} // namespace OptionsSupport
