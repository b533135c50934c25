// Reading the help file and turning a topic into HTML.
#include "platform/HelpFile.h"

#include <QCollator>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <algorithm>

namespace {

// "12 rest" -> 12 and "rest"; nothing when the line does not start with a positive number.
std::optional<std::pair<int, QString>> numberAndRest(const QString &text)
{
    const QString trimmed = text.trimmed();
    const qsizetype space = trimmed.indexOf(QLatin1Char(' '));
    bool ok = false;
    const int number = trimmed.left(space < 0 ? trimmed.size() : space).toInt(&ok);
    if (!ok || number <= 0)
        return std::nullopt;
    return std::make_pair(number, space < 0 ? QString() : trimmed.mid(space + 1).trimmed());
}

bool directive(const QString &line, QLatin1StringView name, QString *rest)
{
    if (!line.startsWith(name))
        return false;
    const QString after = line.mid(name.size());
    if (!after.isEmpty() && !after.front().isSpace())
        return false;
    *rest = after.trimmed();
    return true;
}

} // namespace

std::optional<HelpFile> HelpFile::load(const QString &path)
{
    if (path.isEmpty())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return parse(QString::fromUtf8(bytes));
}

HelpFile HelpFile::parse(const QString &text)
{
    HelpFile help;
    HelpTopic *current = nullptr;
    // A topic whose number is taken or missing is skipped to the next one.
    bool skipping = false;
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    for (const QString &line : text.split(lineEnd)) {
        QString rest;
        if (line.startsWith(QLatin1Char(';')))
            continue;
        if (directive(line, QLatin1StringView(".topic"), &rest)) {
            const auto parsed = numberAndRest(rest);
            skipping = !parsed || help.topic(parsed->first);
            current = nullptr;
            if (!skipping) {
                help.topicList.append(HelpTopic {parsed->first, parsed->second, {}, {}});
                current = &help.topicList.last();
            }
        } else if (skipping) {
            continue;
        } else if (directive(line, QLatin1StringView(".keywords"), &rest)) {
            if (current) {
                for (const QString &word : rest.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
                    if (!word.trimmed().isEmpty())
                        current->keywords.append(word.trimmed());
                }
            }
        } else if (!current && directive(line, QLatin1StringView(".title"), &rest)) {
            help.windowTitle = rest;
        } else if (!current && directive(line, QLatin1StringView(".contents"), &rest)) {
            help.contents = rest.toInt();
        } else if (!current && directive(line, QLatin1StringView(".helponhelp"), &rest)) {
            help.helpOnHelp = rest.toInt();
        } else if (current) {
            current->lines.append(line);
        }
    }
    for (HelpTopic &topic : help.topicList) {
        while (!topic.lines.isEmpty() && topic.lines.last().trimmed().isEmpty())
            topic.lines.removeLast();
    }
    return help;
}

const HelpTopic *HelpFile::topic(int context) const
{
    const auto found = std::find_if(topicList.cbegin(), topicList.cend(),
                                    [context](const HelpTopic &t) { return t.context == context; });
    return found == topicList.cend() ? nullptr : &*found;
}

QList<HelpFile::IndexEntry> HelpFile::index() const
{
    QList<IndexEntry> entries;
    for (const HelpTopic &topic : topicList) {
        for (const QString &keyword : topic.keywords)
            entries.append({keyword, topic.context});
    }
    QCollator collator {QLocale(QLocale::German, QLocale::Germany)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(entries.begin(), entries.end(),
                     [&collator](const IndexEntry &a, const IndexEntry &b) {
                         return collator.compare(a.keyword, b.keyword) < 0;
                     });
    return entries;
}

QList<HelpFile::IndexEntry> HelpFile::matches(const QString &partialKey) const
{
    const QString key = partialKey.trimmed();
    QList<IndexEntry> found;
    for (const IndexEntry &entry : index()) {
        if (entry.keyword.startsWith(key, Qt::CaseInsensitive))
            found.append(entry);
    }
    return found;
}

QString HelpFile::html(int context) const
{
    const HelpTopic *shown = topic(context);
    if (!shown) {
        return QStringLiteral("<p>Das Hilfethema %1 ist in dieser Hilfedatei nicht vorhanden.</p>")
            .arg(context);
    }
    static const QRegularExpression link(QStringLiteral("\\[\\[(\\d+)(?:\\|([^\\]]*))?\\]\\]"));
    auto inlineText = [this](const QString &text) {
        QString out;
        qsizetype from = 0;
        for (const QRegularExpressionMatch &m : link.globalMatch(text)) {
            out += text.mid(from, m.capturedStart() - from).toHtmlEscaped();
            const int target = m.captured(1).toInt();
            const HelpTopic *linked = topic(target);
            QString label = m.captured(2);
            if (label.isEmpty())
                label = linked ? linked->title : m.captured(1);
            out += QStringLiteral("<a href=\"topic:%1\">%2</a>")
                       .arg(target)
                       .arg(label.toHtmlEscaped());
            from = m.capturedEnd();
        }
        return out + text.mid(from).toHtmlEscaped();
    };

    QString out = QStringLiteral("<h2>%1</h2>").arg(shown->title.toHtmlEscaped());
    QStringList paragraph;
    bool inList = false;
    auto endParagraph = [&] {
        if (!paragraph.isEmpty())
            out += QStringLiteral("<p>%1</p>").arg(paragraph.join(QLatin1Char(' ')));
        paragraph.clear();
    };
    auto endList = [&] {
        if (inList)
            out += QStringLiteral("</ul>");
        inList = false;
    };
    for (const QString &line : shown->lines) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty()) {
            endParagraph();
            endList();
        } else if (trimmed.startsWith(QLatin1String("- "))) {
            endParagraph();
            if (!inList)
                out += QStringLiteral("<ul>");
            inList = true;
            out += QStringLiteral("<li>%1</li>").arg(inlineText(trimmed.mid(2)));
        } else {
            endList();
            paragraph.append(inlineText(trimmed));
        }
    }
    endParagraph();
    endList();
    return out;
}
