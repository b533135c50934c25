// A top-level window's place and size as its outer frame, title bar and borders included. A
// framing window manager adds its frame only after the window is mapped, so the frame is applied
// again once its size is known.
#pragma once

#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

class OuterGeometry : public QObject
{
public:
    explicit OuterGeometry(QWidget *window);

    // Gives the window this outer rectangle, now and whenever the frame around it changes size.
    void setFrame(const QRect &frame);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void apply();

    QWidget *window;
    QRect wanted;
    QSize appliedBorder {-1, -1};
};
