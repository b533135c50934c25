// The document property that holds the kept information group.
#include "text/rtf/RtfInfoGroup.h"

#include <QTextDocument>
#include <QVariant>

namespace rtf::info {

namespace {

constexpr char property[] = "velmarRtfInfo";

} // namespace

QByteArray group(const QTextDocument &document)
{
    return document.property(property).toByteArray();
}

void setGroup(QTextDocument &document, const QByteArray &bytes)
{
    document.setProperty(property, bytes);
}

} // namespace rtf::info
