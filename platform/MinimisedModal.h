// A modal window that the window manager minimises comes back at once: the windows it blocks
// take no input, and with it out of sight the program would look frozen.
#pragma once

#include <QObject>

class MinimisedModal : public QObject
{
public:
    // Watches every window of the program while it lives.
    explicit MinimisedModal(QObject *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
