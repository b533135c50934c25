// The number a typed text or a caption stands for: its leading number, with "." as the only
// decimal point whatever the locale, and 0 for a text that does not start with one.
#pragma once

#include <QString>

double leadingNumber(const QString &text);
