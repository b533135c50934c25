// Behaviour of the classic controls on top of their Qt widgets.
#include "format/OptionsControls.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTabBar>

UpDown::UpDown(QLineEdit *buddy, QWidget *parent) : QSpinBox(parent), box(buddy)
{
    // The buddy is the text box; the spinner itself shows only its arrows.
    lineEdit()->hide();
    setFocusPolicy(Qt::NoFocus);
    setRange(0, 100);
    box->setText(QString::number(value()));
    connect(this, &QSpinBox::valueChanged, this, [this](int v) {
        box->setText(QString::number(v));
        emit Change();
    });
    // Typing a whole number within range moves the spinner; other text stays as typed.
    connect(box, &QLineEdit::textEdited, this, [this](const QString &text) {
        bool ok = false;
        const int typed = text.toInt(&ok);
        if (ok && typed >= minimum() && typed <= maximum()
            && QString::number(typed) == text.trimmed())
            setValue(typed);
    });
}

SimpleCombo::SimpleCombo(bool sorted, QWidget *parent)
    : QWidget(parent), edit(new QLineEdit(this)), items(new QListWidget(this)), sortedList(sorted)
{
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textChanged, this, [this] {
        if (!quiet)
            emit Change();
    });
    connect(items, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { pick(items->row(item)); });
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
    if (index < 0 || index >= ListCount()) {
        items->clearSelection();
        items->setCurrentRow(-1);
        return;
    }
    const bool changed = index != ListIndex();
    items->setCurrentRow(index);
    if (edit->text() != List(index)) {
        quiet = true;
        edit->setText(List(index));
        quiet = false;
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
    items->insertItem(row, item);
}

void SimpleCombo::RemoveItem(int index)
{
    delete items->takeItem(index);
}

void SimpleCombo::pick(int row)
{
    if (row < 0)
        return;
    items->setCurrentRow(row);
    quiet = true;
    edit->setText(List(row));
    quiet = false;
    emit Click();
}

bool SimpleCombo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != edit || event->type() != QEvent::KeyPress || !keyPress)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    // Focus moves and the dialog's cancel are no characters typed into the field.
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab || key->key() == Qt::Key_Escape)
        return false;
    int code = 0;
    if (key->key() == Qt::Key_Backspace)
        code = 8;
    else if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        code = 13;
    else if (!key->text().isEmpty())
        code = key->text().at(0).unicode();
    // Keys without a character code (arrows, Delete) never reach the filter.
    if (code == 0)
        return false;
    keyPress(code);
    return code == 0;
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
