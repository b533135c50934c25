// Status bar panels as sunken labels.
#include "platform/StatusBar.h"

#include <QLabel>

StatusBar::StatusBar(QWidget *parent) : QStatusBar(parent) { }

QLabel *StatusBar::addPanel(const QString &key, const QString &text, const QString &toolTip,
                            int stretch)
{
    auto *panel = new QLabel(text, this);
    panel->setObjectName(key);
    panel->setToolTip(toolTip);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    addPermanentWidget(panel, stretch);
    panels.append(panel);
    return panel;
}

QLabel *StatusBar::Panels(const QString &key) const
{
    for (QLabel *panel : panels) {
        if (panel->objectName() == key)
            return panel;
    }
    return nullptr;
}
