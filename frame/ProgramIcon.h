// Velmar's own icon, the "V³²" of the splash window, for the program and every window.
#pragma once

#include <QIcon>

// The icon, drawn at the sizes window systems ask for.
QIcon programIcon();

// Makes it the application's window icon, which every window shows unless it has its own.
void installProgramIcon();
