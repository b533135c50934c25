// The F3 look-up of a text block by its name in the text-block database.
#pragma once

#include <QString>
#include <optional>

namespace TextBlocks {

// The text of the first block (by name) whose name matches the word as a LIKE pattern;
// none when there is no such block or the database cannot be read, which *unreadable tells.
std::optional<QString> lookUp(const QString &databasePath, const QString &word,
                              bool *unreadable = nullptr);

} // namespace TextBlocks
