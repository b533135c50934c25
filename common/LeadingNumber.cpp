// Leading blanks are skipped; reading stops at the first character that cannot go on.
#include "common/LeadingNumber.h"

#include <QChar>
#include <cmath>

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

double leadingNumber(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text.at(i) == u' ' || text.at(i) == u'\t'))
        ++i;
    QString number;
    if (i < n && (text.at(i) == u'+' || text.at(i) == u'-'))
        number += text.at(i++);
    bool digits = false;
    while (i < n && isDigit(text.at(i))) {
        number += text.at(i++);
        digits = true;
    }
    if (i < n && text.at(i) == u'.') {
        number += text.at(i++);
        while (i < n && isDigit(text.at(i))) {
            number += text.at(i++);
            digits = true;
        }
    }
    if (!digits)
        return 0;
    // An exponent counts only when digits follow it.
    if (i < n && (text.at(i) == u'e' || text.at(i) == u'E')) {
        qsizetype j = i + 1;
        QString exponent = QStringLiteral("e");
        if (j < n && (text.at(j) == u'+' || text.at(j) == u'-'))
            exponent += text.at(j++);
        if (j < n && isDigit(text.at(j))) {
            while (j < n && isDigit(text.at(j)))
                exponent += text.at(j++);
            number += exponent;
        }
    }
    const double value = number.toDouble();
    return std::isfinite(value) ? value : 0;
}
