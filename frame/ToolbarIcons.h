// The toolbar pictures, drawn by the program itself.
#pragma once

#include <QIcon>

QIcon toolbarIcon(const QString &key);
