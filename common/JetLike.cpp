// LIKE matching by backtracking over "*", linear in practice for the short names it serves.
#include "common/JetLike.h"

namespace {

bool sameLetter(QChar a, QChar b)
{
    return a == b || a.toCaseFolded() == b.toCaseFolded();
}

// Matches one character against the set starting behind '[' at `i`; moves `i` behind ']'.
// Returns false for a set that is not closed (it then is no set at all).
bool matchSet(const QString &pattern, qsizetype &i, QChar c, bool &matched)
{
    qsizetype j = i;
    bool negated = false;
    if (j < pattern.size() && pattern.at(j) == QLatin1Char('!')) {
        negated = true;
        ++j;
    }
    bool inSet = false;
    bool first = true;
    while (j < pattern.size() && (first || pattern.at(j) != QLatin1Char(']'))) {
        first = false;
        const QChar low = pattern.at(j);
        if (j + 2 < pattern.size() && pattern.at(j + 1) == QLatin1Char('-')
            && pattern.at(j + 2) != QLatin1Char(']')) {
            const QChar high = pattern.at(j + 2);
            const QChar folded = c.toCaseFolded();
            if ((c >= low && c <= high)
                || (folded >= low.toCaseFolded() && folded <= high.toCaseFolded()))
                inSet = true;
            j += 3;
        } else {
            if (sameLetter(low, c))
                inSet = true;
            ++j;
        }
    }
    if (j >= pattern.size())
        return false;
    i = j + 1;
    matched = inSet != negated;
    return true;
}

} // namespace

namespace JetLike {

bool hasWildcards(const QString &pattern)
{
    for (QChar c : pattern) {
        if (c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('#')
            || c == QLatin1Char('['))
            return true;
    }
    return false;
}

bool matches(const QString &text, const QString &pattern)
{
    qsizetype t = 0;
    qsizetype p = 0;
    qsizetype starPattern = -1;
    qsizetype starText = 0;
    while (t < text.size()) {
        bool advanced = false;
        if (p < pattern.size()) {
            const QChar pc = pattern.at(p);
            const QChar tc = text.at(t);
            if (pc == QLatin1Char('*')) {
                starPattern = ++p;
                starText = t;
                continue;
            }
            if (pc == QLatin1Char('?') || (pc == QLatin1Char('#') && tc.isDigit())) {
                ++p;
                advanced = true;
            } else if (pc == QLatin1Char('[')) {
                qsizetype after = p + 1;
                bool inSet = false;
                if (matchSet(pattern, after, tc, inSet)) {
                    if (inSet) {
                        p = after;
                        advanced = true;
                    }
                } else if (sameLetter(pc, tc)) {
                    ++p;
                    advanced = true;
                }
            } else if (pc != QLatin1Char('#') && sameLetter(pc, tc)) {
                ++p;
                advanced = true;
            }
        }
        if (advanced) {
            ++t;
        } else if (starPattern >= 0) {
            p = starPattern;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern.at(p) == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

} // namespace JetLike
