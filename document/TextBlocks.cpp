// Text-block look-up: an exact name through a bound parameter, a pattern matched here.
#include "document/TextBlocks.h"

#include "common/JetLike.h"
#include "platform/Database.h"

#include <QSqlQuery>
#include <QVariant>

namespace TextBlocks {

std::optional<QString> lookUp(const QString &databasePath, const QString &word)
{
    if (databasePath.isEmpty())
        return std::nullopt;
    QSqlDatabase database = Database::open(databasePath);
    if (!database.isValid())
        return std::nullopt;
    QSqlQuery query(database);
    if (!JetLike::hasWildcards(word)) {
        query.prepare(QStringLiteral("SELECT Textbaustein FROM Textbausteine WHERE Name = ?"));
        query.addBindValue(word);
        if (query.exec() && query.next())
            return query.value(0).toString();
        return std::nullopt;
    }
    if (!query.exec(QStringLiteral("SELECT Name, Textbaustein FROM Textbausteine ORDER BY Name")))
        return std::nullopt;
    while (query.next()) {
        if (JetLike::matches(query.value(0).toString(), word))
            return query.value(1).toString();
    }
    return std::nullopt;
}

} // namespace TextBlocks
