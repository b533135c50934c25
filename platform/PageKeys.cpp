// The keys are watched for the whole program and taken only in the dialog's own window.
#include "platform/PageKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTabBar>
#include <QWidget>

PageKeys::PageKeys(QWidget *dialog, QTabBar *bar) : QObject(dialog), dialog(dialog), bar(bar)
{
    qApp->installEventFilter(this);
}

bool PageKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()
        || static_cast<QWidget *>(watched)->window() != dialog || bar->count() == 0)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers chord
        = key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    int step = 0;
    if ((key->key() == Qt::Key_Tab && chord == Qt::ControlModifier)
        || (key->key() == Qt::Key_PageDown && chord == Qt::ControlModifier))
        step = 1;
    else if (((key->key() == Qt::Key_Backtab || key->key() == Qt::Key_Tab)
              && chord == (Qt::ControlModifier | Qt::ShiftModifier))
             || (key->key() == Qt::Key_Backtab && chord == Qt::ControlModifier)
             || (key->key() == Qt::Key_PageUp && chord == Qt::ControlModifier))
        step = -1;
    if (step == 0)
        return false;
    bar->setCurrentIndex((bar->currentIndex() + step + bar->count()) % bar->count());
    return true;
}
