// The block format property that holds a paragraph's kept header and footer groups.
#include "text/rtf/RtfSectionGroups.h"

namespace rtf::section {

namespace {

constexpr int groupsProperty = QTextFormat::UserProperty + 0x400;

} // namespace

QByteArray groups(const QTextBlockFormat &format)
{
    return format.property(groupsProperty).toByteArray();
}

void addGroups(QTextBlockFormat &format, QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return;
    format.setProperty(groupsProperty, groups(format).append(bytes));
}

} // namespace rtf::section
