// The help file: our own plain-text format of topics with context numbers, titles, keywords
// and text, and its rendering to the HTML the help viewer shows.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The format, line by line (UTF-8):
//   ; comment
//   .title <window title>           before the first topic
//   .contents <context>             the contents page
//   .helponhelp <context>           the page on using help
//   .topic <context> <title>        starts a topic
//   .keywords <word>; <word>        keywords of the current topic
// Every other line is text of the current topic: an empty line ends a paragraph, a line
// beginning with "- " is a list item, [[12]] links to topic 12 by its title, [[12|text]]
// links with its own text.
struct HelpTopic
{
    int context = 0;
    QString title;
    QStringList keywords;
    QStringList lines;
};

class HelpFile
{
public:
    struct IndexEntry
    {
        QString keyword;
        int context = 0;
    };

    // Nothing when the file is missing or cannot be read.
    static std::optional<HelpFile> load(const QString &path);
    static HelpFile parse(const QString &text);

    QString title() const { return windowTitle; }
    const QList<HelpTopic> &topics() const { return topicList; }
    const HelpTopic *topic(int context) const;
    int contentsContext() const { return contents; }
    int helpOnHelpContext() const { return helpOnHelp; }

    // All keywords, sorted as a German reader expects.
    QList<IndexEntry> index() const;
    // The keywords that begin with the key, in any letter case.
    QList<IndexEntry> matches(const QString &partialKey) const;

    // The topic as HTML; links are "topic:<context>".
    QString html(int context) const;

private:
    QString windowTitle;
    QList<HelpTopic> topicList;
    int contents = 0;
    int helpOnHelp = 0;
};
