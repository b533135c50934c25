// Shared menu items.
#include "document/MenuItems.h"

#include <QAction>
#include <QMenu>

namespace MenuItems {

void addNewAndOpen(QMenu *menu, QAction *&newItem, QAction *&openItem)
{
    newItem = menu->addAction(QStringLiteral("&Neu..."));
    newItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    openItem = menu->addAction(QStringLiteral("Ö&ffnen..."));
    openItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
}

QAction *addRecentFiles(QMenu *menu, std::array<QAction *, RecentFiles::Count> &items,
                        const std::function<void(int)> &onClick)
{
    for (int i = 0; i < RecentFiles::Count; ++i) {
        items[i] = menu->addAction(QString());
        items[i]->setVisible(false);
        QObject::connect(items[i], &QAction::triggered, menu, [onClick, i] { onClick(i); });
    }
    QAction *separator = menu->addSeparator();
    separator->setVisible(false);
    return separator;
}

QAction *addSwitch(QMenu *menu, const QString &caption, const std::function<void()> &onClick,
                   bool checked)
{
    QAction *item = menu->addAction(caption);
    item->setCheckable(true);
    item->setChecked(checked);
    QObject::connect(item, &QAction::triggered, menu, [item, onClick] {
        // Undo the automatic toggle; the handler decides the mark.
        item->toggle();
        onClick();
    });
    return item;
}

} // namespace MenuItems
