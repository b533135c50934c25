// Code page 1252 a character at a time, from the table of its 256 characters Qt's converter gives.
#include "common/Cp1252.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

namespace {

constexpr int codes = 256;

// The characters in the order of their codes; the five codes the code page leaves unassigned
// give the C1 controls of the same number, so each character has one code.
const QString &characters()
{
    static const QString all = []() -> QString {
        QByteArray bytes;
        for (int code = 0; code < codes; ++code)
            bytes.append(static_cast<char>(code));
        return QStringDecoder(Cp1252::converterName).decode(bytes);
    }();
    return all;
}

} // namespace

namespace Cp1252 {

QChar Chr(int code)
{
    if (code < 0 || code >= characters().size())
        return QChar(QChar::ReplacementCharacter);
    return characters().at(code);
}

int codeOf(QChar character)
{
    return static_cast<int>(characters().indexOf(character));
}

} // namespace Cp1252
