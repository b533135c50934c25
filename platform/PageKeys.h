// The page keys of the platform's tab control for a dialog with a tab strip: Ctrl+Tab and
// Ctrl+PgDn show the next page, Ctrl+Shift+Tab and Ctrl+PgUp the previous one, going round.
#pragma once

#include <QObject>

class QTabBar;
class QWidget;

class PageKeys : public QObject
{
public:
    PageKeys(QWidget *dialog, QTabBar *bar);

protected:
    // Taken before the focused control sees them: lists and fields have their own PgUp/PgDn.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *dialog;
    QTabBar *bar;
};
