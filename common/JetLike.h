// The pattern language of the original database's LIKE: "*" any run, "?" one character,
// "#" one digit, "[abc]", "[a-z]" and "[!abc]" one character of (or not of) a set.
// Letters compare without regard to case.
#pragma once

#include <QString>

namespace JetLike {

bool hasWildcards(const QString &pattern);
bool matches(const QString &text, const QString &pattern);

} // namespace JetLike
