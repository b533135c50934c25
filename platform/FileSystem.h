// File attributes as the program knows them. Hidden is a name convention on Linux, so
// setting it there changes nothing; read-only comes from the permissions.
#pragma once

#include <QString>

namespace FileSystem {

enum Attribute : int { vbNormal = 0, vbReadOnly = 1, vbHidden = 2, vbSystem = 4, vbArchive = 32 };

int GetAttr(const QString &path);
// The letters R, H, S, A for the attributes that are set, always in that order.
QString attributeLetters(int attributes);
// Sets the attributes (all others cleared) as far as the platform has them; where hidden is
// only a name convention, a call that marks a file hidden changes nothing.
bool SetAttr(const QString &path, int attributes);

} // namespace FileSystem
