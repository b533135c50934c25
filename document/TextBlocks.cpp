// Text-block look-up: an exact name through a bound parameter, a pattern matched here.
#include "document/TextBlocks.h"

#include "common/JetLike.h"
#include "data/Database.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace TextBlocks {

std::optional<QString> lookUp(const QString &databasePath, const QString &word, bool *unreadable)
{
    bool failed = true;
    std::optional<QString> text;
    QSqlDatabase database = databasePath.isEmpty() ? QSqlDatabase() : Database::open(databasePath);
    if (database.isValid()) {
        QSqlQuery query(database);
        if (!JetLike::hasWildcards(word)) {
            query.prepare(QStringLiteral("SELECT Textbaustein FROM Textbausteine WHERE Name = ?"));
            query.addBindValue(word);
            failed = !query.exec();
            if (!failed && query.next())
                text = query.value(0).toString();
        } else if (query.exec(QStringLiteral(
                       "SELECT Name, Textbaustein FROM Textbausteine ORDER BY Name"))) {
            failed = false;
            while (!text && query.next()) {
                if (JetLike::matches(query.value(0).toString(), word))
                    text = query.value(1).toString();
            }
        }
        // A damaged file may open and fail only at the rows it cannot read.
        failed = failed || query.lastError().isValid();
    }
    if (unreadable)
        *unreadable = failed;
    return text;
}

} // namespace TextBlocks
