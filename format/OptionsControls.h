// The classic controls the formatting dialog is built from: a spinner bound to its text box,
// an edit field over an always open list, a tab strip with a client area, a colour swatch,
// and a check box that can show a mixed state.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>
#include <QWidget>
#include <functional>

class QLineEdit;
class QListWidget;
class QRadioButton;
class QTabBar;

// The arrows of a spinner; its buddy box shows the value. Code may empty the box, which then
// stays empty until the value changes.
class UpDown : public QSpinBox
{
    Q_OBJECT
public:
    UpDown(QLineEdit *buddy, QWidget *parent);

    int Value() const { return value(); }

signals:
    // On every change of the value, whoever made it.
    void Change();

private:
    QLineEdit *box;
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

    // Sees every typed character code first; setting it to 0 drops the key.
    std::function<void(int &keyAscii)> keyPress;

signals:
    // The field's text changed, typed or set by code.
    void Change();
    // An entry was chosen.
    void Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void pick(int row);

    QLineEdit *edit;
    QListWidget *items;
    bool sortedList;
    bool quiet = false;
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
