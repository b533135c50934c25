// The classic controls the formatting dialog is built from: a spinner bound to its text box,
// an edit field over an always open list, a tab strip with a client area, a colour swatch, a
// slider, and a check box that can show a mixed state.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>
#include <QSpinBox>
#include <QWidget>
#include <functional>

class QLineEdit;
class QListWidget;
class QRadioButton;
class QTabBar;

// The arrows of a spinner; its buddy box shows the value and takes the focus for it. Code may
// empty the box, which then stays empty until the value changes. The box takes digits (and a
// minus sign while the range goes below 0); Up and Down step the spinner.
class UpDown : public QSpinBox
{
    Q_OBJECT
public:
    UpDown(QLineEdit *buddy, QWidget *parent);

    int Value() const { return value(); }

    // Moves the spinner to the number typed into the box, held to the range with a beep, as
    // the arrows would hold it; then the box shows the value again. Runs when the typing ends
    // (Enter, the focus leaves, an arrow) and before the value is used.
    void commitTyped();
    // An emptied box stays empty, for a value the dialog leaves unchanged.
    void setEmptyKept(bool kept) { emptyKept = kept; }

    void stepBy(int steps) override;

signals:
    // On every change of the value, whoever made it.
    void Change();

protected:
    // The box is enabled with the arrows: a value typed past disabled arrows could not be used.
    void changeEvent(QEvent *event) override;

private:
    void boxKeyPress(int &keyAscii) const;

    QLineEdit *box;
    bool emptyKept = false;
};

// A "simple" combo box: the field stands over its list, which is always open.
class SimpleCombo : public QWidget
{
    Q_OBJECT
public:
    SimpleCombo(bool sorted, QWidget *parent);

    QString Text() const;
    void setText(const QString &text);
    int ListIndex() const;
    void setListIndex(int index);
    int ListCount() const;
    QString List(int index) const;
    void AddItem(const QString &item);
    void RemoveItem(int index);

    QLineEdit *field() const { return edit; }
    QListWidget *list() const { return items; }

    // Sees every character code typed into the field first; setting it to 0 drops the key.
    std::function<void(int &keyAscii)> keyPress;

signals:
    // The field's text changed, typed or set by code.
    void Change();
    // An entry was chosen.
    void Click();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void pick(int row);
    // The chosen entry changed, by mouse or keyboard.
    void chosen();

    QLineEdit *edit;
    QListWidget *items;
    bool sortedList;
    bool quiet = false;
    int chosenRow = -1;
};

// Tabs over a panel; a page frame laid over the client area shows the chosen tab's page.
class TabStrip : public QWidget
{
    Q_OBJECT
public:
    explicit TabStrip(QWidget *parent);

    void addTab(const QString &caption, const QString &key);
    // Tabs(n).Selected = True, n from 1.
    void selectTab(int index);
    // SelectedItem.Index, from 1.
    int SelectedIndex() const;

    // The client area in the parent's coordinates.
    int ClientLeft() const;
    int ClientTop() const;
    int ClientWidth() const;
    int ClientHeight() const;

    QTabBar *tabBar() const { return bar; }

signals:
    void Click();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QTabBar *bar;
    QWidget *panel;
};

// A label shown in its background colour, with a click; colours are 0x00BBGGRR.
class SwatchLabel : public QLabel
{
    Q_OBJECT
public:
    explicit SwatchLabel(QWidget *parent);

    int BackColor() const { return colour; }
    void setBackColor(int bgr);
    void setSystemBackColor();

signals:
    void Click();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int colour = 0;
};

// A horizontal slider that takes the focus, moved up by Right and Up, and marked while it has
// the focus, as every control the keyboard reaches is.
class Slider : public QScrollBar
{
    Q_OBJECT
public:
    Slider(int maximum, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// Value 0 off, 1 on, 2 grey. The user's clicks only ever turn it on or off.
class GreyCheckBox : public QCheckBox
{
    Q_OBJECT
public:
    GreyCheckBox(const QString &caption, QWidget *parent);

    int Value() const;
    void setValue(int value);

protected:
    void nextCheckState() override;
};

// Sets an option button of a group, also to off, so that a group can have none chosen.
void setOption(QRadioButton *button, bool on);
