// The replace-all loop run over positions: the text is searched once from front to back, and
// each search goes on behind the previous replacement as the loop's would.
#include "tools/ReplaceAll.h"

#include <algorithm>
#include <optional>

namespace {

constexpr int wholeWord = 2;
constexpr int matchCase = 4;

} // namespace

namespace ReplaceAll {

Plan plan(const QString &text, const Loop &loop)
{
    Plan result;
    const qsizetype size = loop.find.size();
    const qsizetype added = loop.replacement.size() - size;
    QString haystack = text;
    QString needle = loop.find;
    if (!(loop.options & matchCase)) {
        // Qt folds character by character: a hit in the folded text is one at the same place in
        // the text (ß stays ß, never SS).
        haystack = haystack.toCaseFolded();
        needle = needle.toCaseFolded();
    }

    // The current text is the replaced text up to `done` (a position in the old text) and the
    // old text from there on, shifted by `shift`. Every search starts at `done` or behind it.
    qsizetype shift = 0;
    qsizetype done = 0;
    bool replaced = false;
    // The current text's character in front of `done`, for the whole-word test.
    std::optional<QChar> beforeDone;

    qsizetype selStart = loop.selStart;
    qsizetype selLength = loop.selLength;
    bool first = loop.ersterDurchlauf;
    const auto oldChar = [&](qsizetype position) -> std::optional<QChar> {
        if (position < 0 || position >= text.size())
            return std::nullopt;
        return text.at(position);
    };
    const auto isWordChar = [](std::optional<QChar> c) { return c && c->isLetterOrNumber(); };

    for (;;) {
        const qsizetype length = text.size() + shift;
        if (loop.direction != Unterhalb && first
            && selStart == std::min<qsizetype>(loop.startposition, length)) {
            if (replaced) {
                result.jumpDue = true;
                break;
            }
            selStart = 0;
            selLength = 0;
            first = false;
        }
        // The range as Find clamps it.
        const qsizetype start = std::clamp<qsizetype>(selStart + selLength, 0, length);
        qsizetype end = loop.direction == Oberhalb ? loop.startposition : length;
        end = end < 0 || end > length ? length : std::max(end, start);
        if (size == 0 || end - start < size)
            break;

        const qsizetype from = start - shift;
        const qsizetype to = end - shift;
        qsizetype hit = haystack.indexOf(needle, from);
        for (; hit >= 0 && hit + size <= to; hit = haystack.indexOf(needle, hit + 1)) {
            if (!(loop.options & wholeWord))
                break;
            const std::optional<QChar> before
                = replaced && hit == done ? beforeDone : oldChar(hit - 1);
            if (!isWordChar(before) && !isWordChar(oldChar(hit + size)))
                break;
        }
        if (hit < 0 || hit + size > to)
            break;

        result.hits.append(static_cast<int>(hit));
        if (!loop.replacement.isEmpty())
            beforeDone = loop.replacement.back();
        else if (!(replaced && hit == done))
            beforeDone = oldChar(hit - 1);
        replaced = true;
        done = hit + size;
        selStart = hit + shift + loop.replacement.size();
        selLength = 0;
        shift += added;
        if (selStart >= text.size() + shift)
            break;
    }
    result.selStart = static_cast<int>(selStart);
    result.selLength = static_cast<int>(selLength);
    result.ersterDurchlauf = first;
    return result;
}

} // namespace ReplaceAll
