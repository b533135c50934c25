// Menu items that the main window and both document windows build alike.
#pragma once

#include "common/RecentFiles.h"

#include <array>
#include <functional>

class QAction;
class QMenu;

namespace MenuItems {

// "&Neu..." (Ctrl+N) and "Ö&ffnen..." (Ctrl+O).
void addNewAndOpen(QMenu *menu, QAction *&newItem, QAction *&openItem);

// The four recent-file items, hidden until they hold a file, each running onClick with its
// index; returns their separator, hidden too.
QAction *addRecentFiles(QMenu *menu, std::array<QAction *, RecentFiles::Count> &items,
                        const std::function<void(int)> &onClick);

// A check-marked item whose handler sets the mark itself, rather than the click toggling it.
QAction *addSwitch(QMenu *menu, const QString &caption, const std::function<void()> &onClick,
                   bool checked = true);

} // namespace MenuItems
