// The status bar with named panels.
#pragma once

#include <QStatusBar>

class QLabel;

class StatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit StatusBar(QWidget *parent = nullptr);

    QLabel *addPanel(const QString &key, const QString &text, const QString &toolTip = QString(),
                     int stretch = 0);
    // The panel with this key, or none.
    QLabel *Panels(const QString &key) const;

private:
    QList<QLabel *> panels;
};
