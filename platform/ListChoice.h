// Enter in a combo box's opened list chooses the highlighted entry; with none highlighted it
// closes the list and chooses nothing, as closing it otherwise does.
#pragma once

#include <QObject>

class QAbstractItemView;
class QComboBox;

class ListChoice : public QObject
{
public:
    explicit ListChoice(QComboBox *box);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QComboBox *box;
    // Held apart from the box: the list still gets events while the box is being destroyed.
    QAbstractItemView *list;
};
