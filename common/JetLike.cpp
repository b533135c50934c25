// LIKE matching by backtracking over "*", linear in practice for the short names it serves.
// It runs over whole characters, so that "?" takes a letter beyond the basic plane as one and
// such letters compare without regard to case too.
#include "common/JetLike.h"

#include <string>

namespace {

char32_t folded(char32_t c)
{
    return QChar::toCaseFolded(c);
}

bool sameLetter(char32_t a, char32_t b)
{
    return a == b || folded(a) == folded(b);
}

// Matches one character against the set starting behind '[' at `i`; moves `i` behind ']'.
// Returns false for a set that is not closed (it then is no set at all).
bool matchSet(const std::u32string &pattern, size_t &i, char32_t c, bool &matched)
{
    size_t j = i;
    bool negated = false;
    if (j < pattern.size() && pattern.at(j) == U'!') {
        negated = true;
        ++j;
    }
    bool inSet = false;
    bool first = true;
    while (j < pattern.size() && (first || pattern.at(j) != U']')) {
        first = false;
        const char32_t low = pattern.at(j);
        if (j + 2 < pattern.size() && pattern.at(j + 1) == U'-' && pattern.at(j + 2) != U']') {
            const char32_t high = pattern.at(j + 2);
            if ((c >= low && c <= high) || (folded(c) >= folded(low) && folded(c) <= folded(high)))
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

bool matches(const QString &textUtf16, const QString &patternUtf16)
{
    const std::u32string text = textUtf16.toStdU32String();
    const std::u32string pattern = patternUtf16.toStdU32String();
    constexpr size_t noStar = std::u32string::npos;
    size_t t = 0;
    size_t p = 0;
    size_t starPattern = noStar;
    size_t starText = 0;
    while (t < text.size()) {
        bool advanced = false;
        if (p < pattern.size()) {
            const char32_t pc = pattern.at(p);
            const char32_t tc = text.at(t);
            if (pc == U'*') {
                starPattern = ++p;
                starText = t;
                continue;
            }
            if (pc == U'?' || (pc == U'#' && QChar::isDigit(tc))) {
                ++p;
                advanced = true;
            } else if (pc == U'[') {
                size_t after = p + 1;
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
            } else if (pc != U'#' && sameLetter(pc, tc)) {
                ++p;
                advanced = true;
            }
        }
        if (advanced) {
            ++t;
        } else if (starPattern != noStar) {
            p = starPattern;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern.at(p) == U'*')
        ++p;
    return p == pattern.size();
}

} // namespace JetLike
