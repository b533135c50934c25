// Behaviour of the classic controls on top of their Qt widgets.
#include "format/OptionsControls.h"

#include "platform/KeyCodes.h"
#include "platform/KeyFilter.h"
#include "platform/Screen.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QTabBar>
#include <algorithm>
#include <climits>

UpDown::UpDown(QLineEdit *buddy, QWidget *parent) : QSpinBox(parent), box(buddy)
{
    // The buddy is the text box; the spinner itself shows only its arrows, and a click on them
    // gives the focus to the box, where the keys step the value.
    lineEdit()->hide();
    setFocusPolicy(Qt::ClickFocus);
    setFocusProxy(box);
    setRange(0, 100);
    box->setText(QString::number(value()));
    connect(this, &QSpinBox::valueChanged, this, [this](int v) {
        box->setText(QString::number(v));
        emit Change();
    });
    connect(box, &QLineEdit::editingFinished, this, &UpDown::commitTyped);
    auto *keys = new KeyFilter(box);
    keys->keyPress = [this](int &keyAscii) { boxKeyPress(keyAscii); };
    keys->keyDown = [this](const QKeyEvent &key) {
        if (key.modifiers() & ~Qt::KeypadModifier
            || (key.key() != Qt::Key_Up && key.key() != Qt::Key_Down))
            return false;
        stepBy(key.key() == Qt::Key_Up ? 1 : -1);
        return true;
    };
}

void UpDown::boxKeyPress(int &keyAscii) const
{
    if ((keyAscii >= '0' && keyAscii <= '9') || keyAscii == KeyCodes::vbKeyBack
        || keyAscii == KeyCodes::vbKeyReturn)
        return;
    // One minus sign, in front, while the range has negative values.
    const int from = box->hasSelectedText() ? box->selectionStart() : box->cursorPosition();
    const QString kept = box->text().remove(from, box->selectedText().size());
    if (keyAscii == '-' && minimum() < 0 && from == 0 && !kept.contains(u'-'))
        return;
    Beep();
    keyAscii = 0;
}

void UpDown::commitTyped()
{
    const QString typed = box->text();
    if (typed == QString::number(value()) || (typed.isEmpty() && emptyKept))
        return;
    // The leading whole number; digits beyond any int only push it further out of range.
    const bool negative = typed.startsWith(u'-');
    qlonglong number = 0;
    qsizetype digits = 0;
    for (qsizetype i = negative ? 1 : 0; i < typed.size() && typed.at(i).isDigit(); ++i, ++digits)
        number = std::min<qlonglong>(number * 10 + typed.at(i).digitValue(), INT_MAX + 1LL);
    if (negative)
        number = -number;
    if (digits == 0)
        number = value();
    const int held = static_cast<int>(std::clamp<qlonglong>(number, minimum(), maximum()));
    if (held != number)
        Beep();
    if (held == value())
        box->setText(QString::number(held));
    else
        setValue(held);
}

void UpDown::stepBy(int steps)
{
    commitTyped();
    QSpinBox::stepBy(steps);
}

void UpDown::changeEvent(QEvent *event)
{
    QSpinBox::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        box->setEnabled(isEnabled());
}

SimpleCombo::SimpleCombo(bool sorted, QWidget *parent)
    : QWidget(parent), edit(new QLineEdit(this)), items(new QListWidget(this)), sortedList(sorted)
{
    auto *keys = new KeyFilter(edit);
    keys->keyPress = [this](int &keyAscii) {
        if (keyPress)
            keyPress(keyAscii);
    };
    connect(edit, &QLineEdit::textChanged, this, [this] {
        if (!quiet)
            emit Change();
    });
    // The keyboard moves the current entry and its selection one after the other.
    connect(items, &QListWidget::currentRowChanged, this, &SimpleCombo::chosen);
    connect(items, &QListWidget::itemSelectionChanged, this, &SimpleCombo::chosen);
    // A click on the chosen entry chooses it again once the field shows something else.
    connect(items, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        const int row = items->row(item);
        if (edit->text() != List(row))
            pick(row);
    });
}

QString SimpleCombo::Text() const
{
    return edit->text();
}

void SimpleCombo::setText(const QString &text)
{
    edit->setText(text);
}

int SimpleCombo::ListIndex() const
{
    const QListWidgetItem *item = items->currentItem();
    return item && item->isSelected() ? items->row(item) : -1;
}

void SimpleCombo::setListIndex(int index)
{
    const bool changed = index != ListIndex();
    {
        const QScopedValueRollback hush(quiet, true);
        if (index < 0 || index >= ListCount()) {
            items->clearSelection();
            items->setCurrentRow(-1);
            chosenRow = -1;
            return;
        }
        items->setCurrentRow(index);
        if (edit->text() != List(index))
            edit->setText(List(index));
        chosenRow = index;
    }
    if (changed)
        emit Click();
}

int SimpleCombo::ListCount() const
{
    return items->count();
}

QString SimpleCombo::List(int index) const
{
    const QListWidgetItem *item = items->item(index);
    return item ? item->text() : QString();
}

void SimpleCombo::AddItem(const QString &item)
{
    int row = ListCount();
    if (sortedList) {
        // Character order, as the list sorts: "10" before "2,5", "12,5" before "120".
        row = 0;
        while (row < ListCount() && QString::compare(List(row), item) <= 0)
            ++row;
    }
    const QScopedValueRollback hush(quiet, true);
    items->insertItem(row, item);
    chosenRow = ListIndex();
}

void SimpleCombo::RemoveItem(int index)
{
    const QScopedValueRollback hush(quiet, true);
    delete items->takeItem(index);
    chosenRow = ListIndex();
}

void SimpleCombo::chosen()
{
    const int row = ListIndex();
    if (!quiet && row >= 0 && row != chosenRow)
        pick(row);
}

void SimpleCombo::pick(int row)
{
    chosenRow = row;
    {
        const QScopedValueRollback hush(quiet, true);
        items->setCurrentRow(row);
        edit->setText(List(row));
    }
    emit Click();
}

void SimpleCombo::resizeEvent(QResizeEvent *)
{
    const int fieldHeight = edit->sizeHint().height();
    edit->setGeometry(0, 0, width(), fieldHeight);
    items->setGeometry(0, fieldHeight, width(), std::max(0, height() - fieldHeight));
}

TabStrip::TabStrip(QWidget *parent)
    : QWidget(parent), bar(new QTabBar(this)), panel(new QWidget(this))
{
    panel->setObjectName(QStringLiteral("tabPanel"));
    panel->setAutoFillBackground(true);
    panel->setStyleSheet(QStringLiteral(
        "#tabPanel { border: 1px solid palette(mid); background: palette(window); }"));
    bar->setDrawBase(false);
    bar->setExpanding(false);
    connect(bar, &QTabBar::currentChanged, this, [this] { emit Click(); });
}

void TabStrip::addTab(const QString &caption, const QString &key)
{
    const QSignalBlocker quiet(bar);
    const int index = bar->addTab(caption);
    bar->setTabData(index, key);
}

void TabStrip::selectTab(int index)
{
    bar->setCurrentIndex(index - 1);
}

int TabStrip::SelectedIndex() const
{
    return bar->currentIndex() + 1;
}

int TabStrip::ClientLeft() const
{
    return x() + 2;
}

int TabStrip::ClientTop() const
{
    return y() + bar->sizeHint().height() + 2;
}

int TabStrip::ClientWidth() const
{
    return std::max(0, width() - 4);
}

int TabStrip::ClientHeight() const
{
    return std::max(0, height() - bar->sizeHint().height() - 4);
}

void TabStrip::resizeEvent(QResizeEvent *)
{
    const int barHeight = bar->sizeHint().height();
    bar->setGeometry(0, 0, width(), barHeight);
    panel->setGeometry(0, barHeight - 1, width(), std::max(0, height() - barHeight + 1));
    bar->raise();
}

Slider::Slider(int maximum, QWidget *parent) : QScrollBar(Qt::Horizontal, parent)
{
    setRange(0, maximum);
    // A scroll bar takes no focus of its own and turns its keys round for scrolling.
    setFocusPolicy(Qt::StrongFocus);
    setInvertedControls(false);
}

void Slider::paintEvent(QPaintEvent *event)
{
    QScrollBar::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect mark;
    mark.initFrom(this);
    mark.rect = rect().adjusted(1, 1, -1, -1);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, mark);
}

SwatchLabel::SwatchLabel(QWidget *parent) : QLabel(parent)
{
    setAutoFillBackground(true);
    setAlignment(Qt::AlignCenter);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setBackColor(0);
}

void SwatchLabel::setBackColor(int bgr)
{
    colour = bgr;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(bgr & 0xFF, bgr >> 8 & 0xFF, bgr >> 16 & 0xFF));
    setPalette(palette);
}

void SwatchLabel::setSystemBackColor()
{
    const QColor face = QPalette().color(QPalette::Button);
    setBackColor(face.red() | face.green() << 8 | face.blue() << 16);
}

void SwatchLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Click();
}

GreyCheckBox::GreyCheckBox(const QString &caption, QWidget *parent) : QCheckBox(caption, parent)
{
    setTristate(true);
}

int GreyCheckBox::Value() const
{
    switch (checkState()) {
    case Qt::Unchecked:
        return 0;
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        break;
    }
    return 2;
}

void GreyCheckBox::setValue(int value)
{
    setCheckState(value == 0 ? Qt::Unchecked : value == 1 ? Qt::Checked : Qt::PartiallyChecked);
}

void GreyCheckBox::nextCheckState()
{
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

void setOption(QRadioButton *button, bool on)
{
    if (on || !button->isChecked()) {
        button->setChecked(on);
        return;
    }
    // An exclusive group keeps one button on; leave it for the moment it takes to clear it.
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
}
