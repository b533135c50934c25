// Numbers of a saved file's fonts.
#include "text/rtf/RtfFontTable.h"

namespace rtf {

void FontTable::keep(const kept::NamedFont &font)
{
    const Key key {font.number, font.family, font.symbol};
    if (kept.contains(key))
        return;
    const auto taken = byNumber.find(font.number);
    if (taken == byNumber.end() && font.number >= 0) {
        byNumber.emplace(font.number, Entry {font.family, font.symbol});
        byFamily.try_emplace({font.family, font.symbol}, font.number);
        kept.emplace(key, font.number);
        return;
    }
    const bool same = taken != byNumber.end() && taken->second.family == font.family
        && taken->second.symbol == font.symbol;
    kept.emplace(key, same ? font.number : add(font.family, font.symbol));
}

int FontTable::add(const QString &family, bool symbol)
{
    if (const auto found = byFamily.find({family, symbol}); found != byFamily.end())
        return found->second;
    int free = 0;
    for (const auto &[number, entry] : byNumber) {
        if (number != free)
            break;
        ++free;
    }
    byNumber.emplace(free, Entry {family, symbol});
    byFamily.emplace(std::pair {family, symbol}, free);
    return free;
}

int FontTable::number(const QString &family, bool symbol) const
{
    const auto found = byFamily.find({family, symbol});
    return found == byFamily.end() ? 0 : found->second;
}

int FontTable::number(const kept::NamedFont &font) const
{
    const auto found = kept.find(Key {font.number, font.family, font.symbol});
    return found == kept.end() ? 0 : found->second;
}

} // namespace rtf
