// The program's identity: title and version.
#pragma once

#include <QString>

namespace ProgramInfo {

inline constexpr int Major = 2;
inline constexpr int Minor = 0;
inline constexpr int Revision = 2;

inline QString title()
{
    return QStringLiteral("Velmar³²");
}

// "Version 2.0.2"
inline QString versionText()
{
    return QStringLiteral("Version %1.%2.%3").arg(Major).arg(Minor).arg(Revision);
}

} // namespace ProgramInfo
