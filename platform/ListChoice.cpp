// Qt makes the first entry of a list without a current one current (not highlighted) when the
// list gets the focus, and Enter would choose that entry.
#include "platform/ListChoice.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QKeyEvent>

ListChoice::ListChoice(QComboBox *box) : QObject(box), box(box), list(box->view())
{
    // Installed after the list's own filter, so it sees the keys first.
    list->installEventFilter(this);
}

bool ListChoice::eventFilter(QObject *watched, QEvent *event)
{
    // The list takes Enter before shortcuts do, so both its events are watched.
    if (watched != list
        || (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride))
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    if (list->selectionModel()->isSelected(list->currentIndex()))
        return false;
    box->hidePopup();
    key->accept();
    return true;
}
