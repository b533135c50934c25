// The font table of a saved RTF file. The fonts kept groups name keep the numbers they had in
// their own file where those are free, so that the groups are written back as they were; the
// text's fonts take the numbers left.
#pragma once

#include "text/rtf/RtfKeptGroup.h"

#include <QString>
#include <map>
#include <tuple>

namespace rtf {

class FontTable
{
public:
    struct Entry
    {
        QString family;
        bool symbol = false; // written with \fcharset2
    };

    // Kept groups' fonts go in before the text's.
    void keep(const kept::NamedFont &font);
    // The entry of a family, added unless there is one.
    int add(const QString &family, bool symbol = false);
    // Of a family added before.
    int number(const QString &family, bool symbol = false) const;
    // Of a kept font added before.
    int number(const kept::NamedFont &font) const;
    // By number, ascending.
    const std::map<int, Entry> &entries() const { return byNumber; }

private:
    using Key = std::tuple<int, QString, bool>;

    std::map<int, Entry> byNumber;
    std::map<std::pair<QString, bool>, int> byFamily; // the first entry of each
    std::map<Key, int> kept;
};

} // namespace rtf
