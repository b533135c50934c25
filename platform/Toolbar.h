// The toolbar control: buttons found by key, check buttons that flip their own value, button
// groups, and a mixed look for toggles whose selection is neither on nor off.
#pragma once

#include <QIcon>
#include <QToolBar>
#include <QToolButton>

class ToolButton : public QToolButton
{
    Q_OBJECT
public:
    enum Style { Normal, Check, Group, Placeholder };

    ToolButton(const QString &key, Style style, QWidget *parent = nullptr);

    QString Key() const { return key; }
    Style buttonStyle() const { return style; }

    // 0 unpressed, 1 pressed.
    int Value() const;
    void setValue(int newValue);
    // Shows the button as neither pressed nor unpressed.
    bool MixedState() const { return mixed; }
    void setMixedState(bool on);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString key;
    Style style;
    bool mixed = false;
};

class Toolbar : public QToolBar
{
    Q_OBJECT
public:
    explicit Toolbar(const QString &name, QWidget *parent = nullptr);

    struct Button
    {
        const char *key;
        ToolButton::Style style;
        QIcon icon;
        QString text;
        QString description;
    };

    ToolButton *addButton(const Button &button);
    // Reserves room for a widget (a font box) in place of a placeholder button.
    void addPlaceholder(const QString &key, QWidget *widget, const QString &description);
    void addSeparatorItem();
    // The button with this key, or none.
    ToolButton *Buttons(const QString &key) const;

signals:
    // After a check button flipped its value and a group button was pressed.
    void ButtonClick(ToolButton *button);

private:
    void click(ToolButton *button);
    QList<ToolButton *> buttons;
};
