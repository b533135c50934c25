// The style-template manager as the user meets it: opened over a rich-text window, its database
// made on first use, templates browsed, created from the selection, deleted and applied.
#include "common/AppPaths.h"
#include "common/Databases.h"
#include "data/Database.h"
#include "document/frmDocument.h"
#include "format/OptionsControls.h"
#include "format/frmTemplate.h"
#include "frame/frmMain.h"
#include "platform/Help.h"
#include "platform/HelpViewer.h"
#include "platform/MsgBox.h"
#include "platform/Screen.h"
#include "tests/support/DatabaseStates.h"
#include "tests/support/GrabChecks.h"
#include "tests/support/Keyboard.h"
#include "tests/support/RunningProgram.h"
#include "text/RichTextBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QToolButton>
#include <memory>

namespace {

using Act = std::function<void(frmTemplate &)>;

const QString title = QStringLiteral("Formatvorlagen-Verwaltung");

QString fontFamily()
{
    const QStringList fonts = Screen::Fonts();
    return fonts.contains(QStringLiteral("DejaVu Sans")) ? QStringLiteral("DejaVu Sans")
                                                         : fonts.value(0);
}

QString databasePath()
{
    return Databases::formatvorlagePath();
}

// A template row, the given fields over plain defaults.
void storeTemplate(const QString &name, const QVariantMap &changes = {})
{
    QVERIFY(Database::ensure(Databases::formatvorlagen()));
    QVariantMap row = {{"Fontname", fontFamily()},
                       {"Fontsize", 12},
                       {"Bold", 0},
                       {"Italic", 0},
                       {"Underline", 0},
                       {"Strikethru", 0},
                       {"Charoffset", 0},
                       {"Color", "0"},
                       {"Alignment", 0},
                       {"Indent", 0},
                       {"Hangingindent", 0},
                       {"Rightindent", 0},
                       {"Bullet", 0}};
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        row.insert(it.key(), it.value());
    row.insert(QStringLiteral("Name"), name);
    QSqlQuery query(Database::open(databasePath()));
    QVERIFY(query.prepare(QStringLiteral("INSERT INTO Vorlagen (%1) VALUES (%2)")
                              .arg(row.keys().join(u", "),
                                   QStringList(row.size(), QStringLiteral("?")).join(u", "))));
    for (const QVariant &value : std::as_const(row))
        query.addBindValue(value);
    QVERIFY(query.exec());
}

// The stored rows in table order, each as "Name|Fontname|Fontsize|...".
QStringList storedRows()
{
    QStringList rows;
    QSqlQuery query(Database::open(databasePath()));
    if (!query.exec(QStringLiteral("SELECT * FROM Vorlagen ORDER BY rowid")))
        return {QStringLiteral("(no table)")};
    while (query.next()) {
        QStringList fields;
        for (int i = 0; i < query.record().count(); ++i)
            fields << query.value(i).toString();
        rows << fields.join(u'|');
    }
    return rows;
}

QStringList storedNames()
{
    QStringList names;
    for (const QString &row : storedRows())
        names << row.section(u'|', 0, 0);
    return names;
}

// The selection's thirteen attributes in one line.
QString attributes(const RichTextBox &text)
{
    const auto value = [](const auto &v) { return v ? QVariant(*v).toString() : "null"; };
    return QStringList {
        value(text.SelFontName()),   value(text.SelFontSize()),      value(text.SelBold()),
        value(text.SelItalic()),     value(text.SelUnderline()),     value(text.SelStrikeThru()),
        value(text.SelCharOffset()), value(text.SelColor()),         value(text.SelAlignment()),
        value(text.SelIndent()),     value(text.SelHangingIndent()), value(text.SelRightIndent()),
        value(text.SelBullet())}
        .join(u',');
}

QList<bool> ticks(const frmTemplate &form)
{
    QList<bool> all;
    for (const QCheckBox *box : form.checkBoxes())
        all << box->isChecked();
    return all;
}

QColor colourOfSwatch(const frmTemplate &form)
{
    const int bgr = form.lblColor2->BackColor();
    return QColor(bgr & 0xFF, bgr >> 8 & 0xFF, bgr >> 16 & 0xFF);
}

QList<bool> allTicked(bool on)
{
    return QList<bool>(13, on);
}

int count(const QList<Modal::Request> &seen, const QString &title)
{
    int n = 0;
    for (const Modal::Request &request : seen)
        n += request.title == title;
    return n;
}

} // namespace

class TestTemplate : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void createsDatabaseOnceAndKeepsIt();
    void folderEndingInSeparator();
    void unusableDatabaseKeepsDialogClosed_data();
    void unusableDatabaseKeepsDialogClosed();
    void emptyState();
    void newNeedsASelection_data();
    void newNeedsASelection();
    void namesCheckedBeforeCreation_data();
    void namesCheckedBeforeCreation();
    void selectionRecordedFromItsFirstCharacterWhenMixed_data();
    void selectionRecordedFromItsFirstCharacterWhenMixed();
    void fractionsStoredWhole();
    void refusedRowLeavesNothing();
    void displaysOfATemplate_data();
    void displaysOfATemplate();
    void browsingTicksEveryRowAgain();
    void browseKeysStepAndJump_data();
    void browseKeysStepAndJump();
    void readOnlyDatabaseRefusesANewTemplateInGerman();
    void lockedDatabaseRefusesANewTemplateAtOnce();
    void applyTickedRows_data();
    void applyTickedRows();
    void refusedValueAppliesNothing();
    void templateOfTheSelectionAddsNoUndoStep();
    void deleting_data();
    void deleting();
    void f1OpensHelpTopic();
    void screenshot();

private:
    // Opens the dialog as the Format menu does and acts in it.
    void open(const Act &act);
    void select(const QString &content, int start, int length);
    // Neu with NAME over the stored "Standard": the critical message gives REASON after the
    // refusal, the dialog keeps showing "Standard" and nothing new is stored.
    void expectNewTemplateRefused(const QString &name, const QString &reason);

    std::unique_ptr<RunningProgram> program;
    TestEnvironment *env = nullptr;
    frmDocument *document = nullptr;
    RichTextBox *text = nullptr;
};

void TestTemplate::init()
{
    program = std::make_unique<RunningProgram>();
    env = &program->env;
    program->start();
    program->main().LoadNewDoc();
    document = qobject_cast<frmDocument *>(program->active());
    QVERIFY(document);
    text = document->txtText;
    select(QStringLiteral("Erster Absatz\nZweiter Absatz"), 0, 6);
}

void TestTemplate::cleanup()
{
    program->stop();
    QCOMPARE(env->modals.pending(), 0);
    program.reset();
    Database::closeAll();
}

void TestTemplate::open(const Act &act)
{
    bool acted = false;
    env->modals.answerForm([&](QWidget *form) {
        auto *dialog = qobject_cast<frmTemplate *>(form);
        QVERIFY(dialog);
        acted = true;
        act(*dialog);
    });
    frmTemplate::ShowModal();
    QVERIFY(acted);
    QVERIFY(!frmTemplateForm().isLoaded());
}

void TestTemplate::select(const QString &content, int start, int length)
{
    text->setText(content);
    text->setSelStart(0);
    text->setSelLength(text->Text().size());
    text->setSelFontName(fontFamily());
    text->setSelFontSize(12);
    text->setSelStart(start);
    text->setSelLength(length);
}

void TestTemplate::createsDatabaseOnceAndKeepsIt()
{
    QVERIFY(!QFile::exists(databasePath()));
    open([](frmTemplate &form) { form.cmdAbbrechen->click(); });
    QVERIFY(QFile::exists(databasePath()));
    QSqlQuery query(Database::open(databasePath()));
    QVERIFY(query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type <> 'index'")));
    QStringList objects;
    while (query.next())
        objects << query.value(0).toString();
    QCOMPARE(objects, QStringList {"Vorlagen"});
    const QSqlRecord columns = Database::open(databasePath()).record(QStringLiteral("Vorlagen"));
    QStringList names;
    for (int i = 0; i < columns.count(); ++i)
        names << columns.fieldName(i);
    QCOMPARE(names,
             QStringList({"Name", "Fontname", "Fontsize", "Bold", "Italic", "Underline",
                          "Strikethru", "Charoffset", "Color", "Alignment", "Indent",
                          "Hangingindent", "Rightindent", "Bullet"}));

    storeTemplate(QStringLiteral("Standard"));
    QFile file(databasePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    const QDateTime modified = QFileInfo(databasePath()).lastModified();
    open([](frmTemplate &form) {
        QCOMPARE(form.lblName->text(), QStringLiteral("Standard"));
        form.cmdAbbrechen->click();
    });
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
    QCOMPARE(QFileInfo(databasePath()).lastModified(), modified);
    QCOMPARE(storedNames(), QStringList {"Standard"});
}

void TestTemplate::folderEndingInSeparator()
{
    const QString folder = env->databaseFolder() + QDir::separator();
    AppPaths::setDatabaseFolder(folder);
    open([&](frmTemplate &form) {
        QCOMPARE(form.Data1->DatabaseName,
                 env->databaseFolder() + QStringLiteral("/formatvorlage.mdb"));
        QCOMPARE(form.Data2->DatabaseName, form.Data1->DatabaseName);
        form.cmdAbbrechen->click();
    });
    QVERIFY(QFile::exists(env->databaseFolder() + QStringLiteral("/formatvorlage.mdb")));
}

void TestTemplate::unusableDatabaseKeepsDialogClosed_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    const QString unusable = QStringLiteral("Die Datenbank \"%1\" kann nicht geöffnet werden. Die "
                                            "Datei ist keine Datenbank oder hat ein unbekanntes "
                                            "Format.");
    const QString notMade = QStringLiteral("Die Datenbank \"%1\" konnte nicht angelegt werden. Im "
                                           "Ordner der Datenbank kann keine Datei angelegt "
                                           "werden.");
    QTest::newRow("damaged file") << QByteArray("Kein Datenbankinhalt, nur Text.\n") << unusable;
    QTest::newRow("empty file") << QByteArray() << unusable;
    QTest::newRow("read-only folder") << QByteArray("-") << notMade;
    QTest::newRow("folder that cannot be made") << QByteArray("/") << notMade;
    QTest::newRow("a folder in its place")
        << QByteArray("d")
        << QStringLiteral("Die Datenbank \"%1\" konnte nicht angelegt werden. An ihrer Stelle "
                          "steht ein Ordner dieses Namens.");
}

void TestTemplate::unusableDatabaseKeepsDialogClosed()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QString folder = env->databaseFolder();
    const bool readOnly = content == "-";
    const bool noFolder = content == "/";
    const bool folderInPlace = content == "d";
    // The program made the text-block database at its start.
    const QStringList held = QDir(folder).entryList();
    if (folderInPlace) {
        QVERIFY(QDir().mkpath(databasePath()));
    } else if (noFolder) {
        // A plain file where the folder would have to be.
        QFile blocker(env->path(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        folder = env->path(QStringLiteral("blocker/daten"));
        AppPaths::setDatabaseFolder(folder);
    } else if (readOnly) {
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        QFile probe(QDir(folder).filePath(QStringLiteral("probe")));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP(qPrintable(
                needsUserWithoutRoot("This user writes into folders without write permission")));
        }
    } else {
        QFile file(databasePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    env->modals.answerMessage(vbOK);
    frmTemplate::ShowModal();
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(!frmTemplateForm().isLoaded());
    QCOMPARE(env->modals.seen().size(), 1);
    const Modal::Request &shown = env->modals.seen().first();
    QCOMPARE(shown.kind, Modal::Kind::MessageBox);
    QCOMPARE(shown.title, title);
    QCOMPARE(shown.style, int(vbCritical));
    QCOMPARE(shown.text, message.arg(QDir::toNativeSeparators(databasePath())));
    if (folderInPlace) {
        QVERIFY(QFileInfo(databasePath()).isDir());
    } else if (noFolder) {
        QVERIFY(!QFileInfo::exists(folder));
    } else if (readOnly) {
        QCOMPARE(QDir(folder).entryList(), held);
    } else {
        QFile file(databasePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
    }
}

void TestTemplate::emptyState()
{
    open([](frmTemplate &form) {
        QCOMPARE(form.windowTitle(), title);
        QCOMPARE(form.Data1->captionLabel()->text(),
                 QStringLiteral("In den Formatvorlagen blättern..."));
        QVERIFY(form.Data1->isVisible());
        QVERIFY(!form.Data2->isVisible());
        QCOMPARE(form.Data1->RecordCount(), 0);
        QVERIFY(form.lblName->text().isEmpty());
        QVERIFY(form.lblFontname->text().isEmpty());
        QVERIFY(form.lblIndent2->text().isEmpty());
        QCOMPARE(colourOfSwatch(form), form.palette().color(QPalette::Button));
        QVERIFY(!form.cmdOK->isEnabled());
        QVERIFY(!form.cmdLoeschen->isEnabled());
        QVERIFY(form.cmdNeu->isEnabled());
        QCOMPARE(ticks(form), allTicked(false));
        QVERIFY(form.lblMuster->isVisible());
        QCOMPARE(form.lblMuster->text(), QStringLiteral("Beispiel"));
        QCOMPARE(form.chkColor->text(), QStringLiteral("Schrift&farbe"));
        QCOMPARE(form.chkBullet->text(), QStringLiteral("Auf&zählungszeichen"));
        QCOMPARE(form.cmdNeu->toolTip(), QStringLiteral("Neue Formatvorlage definieren"));
        QCOMPARE(form.cmdLoeschen->toolTip(), QStringLiteral("Aktuelle Formatvorlage löschen"));
        QCOMPARE(form.cmdOK->toolTip(), QStringLiteral("Aktuelle Formatvorlage anwenden"));
        QCOMPARE(form.cmdAbbrechen->toolTip(), QStringLiteral("Abbrechen"));
        QVERIFY(form.cmdOK->isDefault());
        QCOMPARE(form.cmdOK->pos(),
                 QPoint(Screen::pixelsFromTwipsX(4200), Screen::pixelsFromTwipsY(4920)));
        // A click on the browse bar over no rows changes nothing.
        QTest::mouseClick(form.Data1->nextButton(), Qt::LeftButton);
        QCOMPARE(ticks(form), allTicked(false));
        QTest::keyClick(&form, Qt::Key_Escape);
        QVERIFY(!form.isVisible());
    });
    QCOMPARE(storedRows(), QStringList());
}

void TestTemplate::newNeedsASelection_data()
{
    QTest::addColumn<int>("length");
    QTest::newRow("caret") << 0;
    QTest::newRow("selection") << 3;
}

void TestTemplate::newNeedsASelection()
{
    QFETCH(int, length);
    text->setSelLength(length);
    open([&](frmTemplate &form) {
        QCOMPARE(form.cmdNeu->isEnabled(), length > 0);
        form.cmdAbbrechen->click();
    });
}

void TestTemplate::namesCheckedBeforeCreation_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<int>("duplicates");
    QTest::addColumn<QString>("created"); // empty: nothing created

    const QString word(47, u'x');
    QTest::newRow("blanks around") << QStringList() << QStringList {"   Titel  "} << 0 << "Titel";
    QTest::newRow("60 characters cut, then stripped")
        << QStringList() << QStringList {"  " + word + " " + QString(10, u'y')} << 0 << word;
    QTest::newRow("only blanks") << QStringList() << QStringList {"    "} << 0 << "";
    QTest::newRow("cancelled") << QStringList {"Standard"} << QStringList {""} << 0 << "";
    QTest::newRow("other case, then a new name")
        << QStringList {"Überschrift"} << QStringList {"üBERSCHRIFT", "Zitat"} << 1 << "Zitat";
    QTest::newRow("first letter and star, then cancelled")
        << QStringList {"Überschrift", "Zitat"} << QStringList {"Ü*", ""} << 1 << "";
    // A new name is taken as a pattern: one that fits a stored name is that name again.
    QTest::newRow("? one character")
        << QStringList {"Zitat"} << QStringList {"zit?t", "Zitat?"} << 1 << "Zitat?";
    QTest::newRow("# one digit") << QStringList {"Stil1"} << QStringList {"Stil#", "Stil#B"} << 1
                                 << "Stil#B";
    QTest::newRow("[a-z] a range, other case")
        << QStringList {"Kopf"} << QStringList {"[J-L]opf", "[a-c]opf"} << 1 << "[a-c]opf";
    QTest::newRow("[!...] not of a set")
        << QStringList {"Kopf"} << QStringList {"[!m]opf", "[!k]opf"} << 1 << "[!k]opf";
    QTest::newRow("beyond the basic plane, other case")
        << QStringList {"𐐨𐐯𐑅"} << QStringList {"𐐀𐐇𐐝", "?𐐇𐐝", "𐐀"} << 2 << "𐐀";
    QTest::newRow("pattern characters in a stored name")
        << QStringList {"Nr#1"} << QStringList {"nr#1", "Nr. 1"} << 1 << "Nr. 1";
    QTest::newRow("apostrophe") << QStringList {"Peter's"}
                                << QStringList {"PETER'S", "O'Neil's \"Zitat\""} << 1
                                << "O'Neil's \"Zitat\"";
}

void TestTemplate::namesCheckedBeforeCreation()
{
    QFETCH(QStringList, stored);
    QFETCH(QStringList, answers);
    QFETCH(int, duplicates);
    QFETCH(QString, created);
    for (const QString &name : stored)
        storeTemplate(name, {{"Bold", 1}});
    text->setSelBold(false);
    open([&](frmTemplate &form) {
        for (int i = 0; i < answers.size(); ++i) {
            env->modals.answerInput(answers.at(i));
            if (i < duplicates)
                env->modals.answerMessage(vbOK);
        }
        form.cmdNeu->click();
        QCOMPARE(env->modals.pending(), 0);
        if (!created.isEmpty()) {
            QCOMPARE(form.lblName->text(), created);
            QVERIFY(form.cmdOK->isEnabled());
            QVERIFY(form.cmdLoeschen->isEnabled());
            QCOMPARE(ticks(form), allTicked(true));
            QVERIFY(!form.optBold->isChecked());
        }
        form.cmdAbbrechen->click();
    });
    const QList<Modal::Request> &seen = env->modals.seen();
    QCOMPARE(count(seen, QStringLiteral("Neue Formatvorlage")), answers.size());
    QCOMPARE(count(seen, QStringLiteral("Fehler!")), duplicates);
    for (const Modal::Request &request : seen) {
        if (request.kind == Modal::Kind::InputBox) {
            QVERIFY(request.text.startsWith(
                QStringLiteral("Geben Sie bitte den Namen der neuen Formatvorlage ein,")));
        } else if (request.title == u"Fehler!") {
            QCOMPARE(request.style, int(vbCritical | vbOKOnly));
            QVERIFY(request.text.startsWith(
                QStringLiteral("Der von Ihnen eingegebene Name für die Formatvorlage ist bereits "
                               "vorhanden.")));
        }
    }
    QStringList expected = stored;
    if (!created.isEmpty())
        expected << created;
    QCOMPARE(storedNames(), expected);
}

void TestTemplate::selectionRecordedFromItsFirstCharacterWhenMixed_data()
{
    QTest::addColumn<int>("mix"); // 0 uniform, 1 half bold, 2 two paragraphs' alignment
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("bold");
    QTest::newRow("uniform keeps its length") << 0 << 10 << false;
    QTest::newRow("half bold") << 1 << 1 << true;
    QTest::newRow("two paragraphs, two alignments") << 2 << 1 << false;
}

void TestTemplate::selectionRecordedFromItsFirstCharacterWhenMixed()
{
    QFETCH(int, mix);
    QFETCH(int, length);
    QFETCH(bool, bold);
    const int span = mix == 2 ? 20 : 10;
    select(QStringLiteral("Erster Absatz\nZweiter Absatz"), 2, span);
    if (mix == 1) {
        text->setSelLength(5);
        text->setSelBold(true);
        text->setSelLength(span);
    } else if (mix == 2) {
        text->setSelLength(1);
        text->setSelAlignment(RichTextBox::rtfCenter);
        text->setSelLength(span);
    }
    open([&](frmTemplate &form) {
        env->modals.answerInput(QStringLiteral("Neu"));
        form.cmdNeu->click();
        form.cmdAbbrechen->click();
    });
    QCOMPARE(text->SelStart(), 2);
    QCOMPARE(text->SelLength(), length);
    const QStringList rows = storedRows();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first(),
             QStringLiteral("Neu|%1|12|%2|0|0|0|0|0|%3|0|0|0|0")
                 .arg(fontFamily())
                 .arg(bold ? 1 : 0)
                 .arg(mix == 2 ? 2 : 0));
}

void TestTemplate::fractionsStoredWhole()
{
    text->setSelFontSize(10.5);
    text->setSelIndent(3.5);
    text->setSelHangingIndent(-2.5);
    text->setSelRightIndent(7.25);
    open([&](frmTemplate &form) {
        env->modals.answerInput(QStringLiteral("Klein"));
        form.cmdNeu->click();
        QCOMPARE(form.lblFontsize->text(), QStringLiteral("10"));
        form.cmdAbbrechen->click();
    });
    QCOMPARE(storedRows(),
             QStringList {QStringLiteral("Klein|%1|10|0|0|0|0|0|0|0|4|-2|7|0").arg(fontFamily())});
}

void TestTemplate::refusedRowLeavesNothing()
{
    // A font name longer than its column: the table refuses the whole row.
    const QString longName(260, u'F');
    text->setSelFontName(longName);
    QCOMPARE(text->SelFontName().value_or(QString()), longName);
    storeTemplate(QStringLiteral("Standard"));
    // A row that reached the table would meet this trigger's words instead.
    QVERIFY(QSqlQuery(Database::open(databasePath()))
                .exec(QStringLiteral("CREATE TRIGGER Erreicht BEFORE INSERT ON Vorlagen BEGIN "
                                     "SELECT RAISE(ABORT, 'erreicht'); END")));
    expectNewTemplateRefused(QStringLiteral("Zu lang"),
                             QStringLiteral("Das Feld ist zu klein, um die Menge der Daten "
                                            "aufzunehmen, die Sie hinzufügen wollten. Versuchen "
                                            "Sie, weniger Daten einzufügen."));
}

void TestTemplate::expectNewTemplateRefused(const QString &name, const QString &reason)
{
    open([&](frmTemplate &form) {
        env->modals.answerInput(name);
        env->modals.answerMessage(vbOK);
        form.cmdNeu->click();
        QCOMPARE(form.lblName->text(), QStringLiteral("Standard"));
        form.cmdAbbrechen->click();
    });
    const Modal::Request &message = env->modals.seen().last();
    QCOMPARE(message.title, title);
    QCOMPARE(message.style, int(vbCritical));
    QCOMPARE(message.text,
             QStringLiteral("Die Formatvorlage \"%1\" konnte nicht gespeichert "
                            "werden. %2")
                 .arg(name, reason));
    QCOMPARE(storedNames(), QStringList {"Standard"});
}

void TestTemplate::displaysOfATemplate_data()
{
    QTest::addColumn<QVariantMap>("row");
    QTest::addColumn<QString>("alignment");
    QTest::addColumn<QString>("indent");
    QTest::addColumn<QString>("hanging");
    QTest::addColumn<QString>("offset");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("centred, indents cancel out")
        << QVariantMap {{"Alignment", 2}, {"Indent", 5}, {"Hangingindent", -5}} << "zentriert"
        << "0"
        << "5"
        << "0" << QColor(Qt::black);
    QTest::newRow("left, hanging 10")
        << QVariantMap {{"Alignment", 0}, {"Indent", 0}, {"Hangingindent", 10}} << "linksbündig"
        << "10"
        << "-10"
        << "0" << QColor(Qt::black);
    QTest::newRow("right, red, raised")
        << QVariantMap {{"Alignment", 1}, {"Color", "255"}, {"Charoffset", 22}} << "rechtsbündig"
        << "0"
        << "0"
        << "22" << QColor(Qt::red);
    QTest::newRow("indents 15 and -5, blue")
        << QVariantMap {{"Indent", 10}, {"Hangingindent", 5}, {"Color", "16711680"}}
        << "linksbündig"
        << "15"
        << "-5"
        << "0" << QColor(Qt::blue);
}

void TestTemplate::displaysOfATemplate()
{
    QFETCH(QVariantMap, row);
    QFETCH(QString, alignment);
    QFETCH(QString, indent);
    QFETCH(QString, hanging);
    QFETCH(QString, offset);
    QFETCH(QColor, colour);
    QVariantMap full = row;
    full.insert(QStringLiteral("Bold"), 1);
    full.insert(QStringLiteral("Underline"), 1);
    full.insert(QStringLiteral("Fontsize"), 14);
    full.insert(QStringLiteral("Rightindent"), 7);
    storeTemplate(QStringLiteral("Vorlage"), full);
    open([&](frmTemplate &form) {
        QCOMPARE(form.lblName->text(), QStringLiteral("Vorlage"));
        QCOMPARE(form.lblFontname->text(), fontFamily());
        QCOMPARE(form.lblFontsize->text(), QStringLiteral("14"));
        QVERIFY(form.optBold->isChecked());
        QVERIFY(!form.optBold->isEnabled());
        QVERIFY(!form.optItalic->isChecked());
        QVERIFY(form.optUnderline->isChecked());
        QCOMPARE(form.lblAlignment2->text(), alignment);
        QCOMPARE(form.lblIndent2->text(), indent);
        QCOMPARE(form.lblHangingindent2->text(), hanging);
        QCOMPARE(form.lblCharoffset->text(), offset);
        QCOMPARE(form.lblRightindent->text(), QStringLiteral("7"));
        QCOMPARE(colourOfSwatch(form), colour);
        QVERIFY(form.lblMuster->isVisible());
        QCOMPARE(form.lblMuster->palette().color(QPalette::WindowText), colour);
        QVERIFY(form.lblMuster->font().bold());
        QVERIFY(form.lblMuster->font().underline());
        QVERIFY(!form.lblMuster->font().italic());
        QCOMPARE(form.lblMuster->font().pointSizeF(), 14.0);
        QCOMPARE(ticks(form), allTicked(true));
        QVERIFY(form.cmdOK->isEnabled());
        QVERIFY(form.cmdLoeschen->isEnabled());
        form.cmdAbbrechen->click();
    });
}

void TestTemplate::browsingTicksEveryRowAgain()
{
    storeTemplate(QStringLiteral("Eins"));
    storeTemplate(QStringLiteral("Zwei"), {{"Alignment", 2}});
    storeTemplate(QStringLiteral("Drei"), {{"Alignment", 1}});
    open([&](frmTemplate &form) {
        const auto untickSome = [&] {
            form.chkFontname->click();
            form.chkColor->click();
            form.chkBullet->click();
            QVERIFY(ticks(form) != allTicked(true));
        };
        const auto step = [&](QToolButton *button, const QString &name, bool reticked) {
            untickSome();
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(form.lblName->text(), name);
            QCOMPARE(ticks(form) == allTicked(true), reticked);
            if (!reticked)
                form.chkFontname->click(), form.chkColor->click(), form.chkBullet->click();
        };
        QCOMPARE(form.lblName->text(), QStringLiteral("Eins"));
        step(form.Data1->previousButton(), QStringLiteral("Eins"), false);
        step(form.Data1->nextButton(), QStringLiteral("Zwei"), true);
        QCOMPARE(form.lblAlignment2->text(), QStringLiteral("zentriert"));
        step(form.Data1->lastButton(), QStringLiteral("Drei"), true);
        QCOMPARE(form.lblAlignment2->text(), QStringLiteral("rechtsbündig"));
        step(form.Data1->nextButton(), QStringLiteral("Drei"), false);
        step(form.Data1->firstButton(), QStringLiteral("Eins"), true);
        QCOMPARE(form.lblAlignment2->text(), QStringLiteral("linksbündig"));
        form.cmdAbbrechen->click();
    });
}

void TestTemplate::browseKeysStepAndJump_data()
{
    Keyboard::addWayColumn();
    QTest::addColumn<QWidget *(*)(frmTemplate &)>("focus");
    for (const Keyboard::Way way : Keyboard::ways) {
        Keyboard::newRow(way, "focus on a check box")
            << +[](frmTemplate &form) -> QWidget * { return form.chkBold; };
        Keyboard::newRow(way, "focus on a button")
            << +[](frmTemplate &form) -> QWidget * { return form.cmdAbbrechen; };
    }
}

void TestTemplate::browseKeysStepAndJump()
{
    using Focus = QWidget *(*)(frmTemplate &);
    QFETCH(Keyboard::Way, way);
    if (const QString why = Keyboard::unavailable(way); !why.isEmpty())
        QSKIP(qPrintable(why));
    QFETCH(Focus, focus);
    storeTemplate(QStringLiteral("Eins"));
    storeTemplate(QStringLiteral("Zwei"));
    storeTemplate(QStringLiteral("Drei"));
    open([&](frmTemplate &form) {
        QVERIFY(Keyboard::focus(focus(form)));
        const auto key = [&](const char *keys, const char *name) {
            QVERIFY(Keyboard::type(way, QString(), {keys}));
            QTRY_COMPARE(form.lblName->text(), QString::fromUtf8(name));
            QVERIFY(form.isVisible());
        };
        key("Next", "Zwei");
        key("Next", "Drei");
        key("Next", "Drei");
        key("Prior", "Zwei");
        key("ctrl+Home", "Eins");
        key("Prior", "Eins");
        key("ctrl+End", "Drei");
        QCOMPARE(ticks(form), allTicked(true));
        form.cmdAbbrechen->click();
    });
}

void TestTemplate::readOnlyDatabaseRefusesANewTemplateInGerman()
{
    storeTemplate(QStringLiteral("Standard"));
    Database::closeAll();
    const DatabaseStates::ReadOnly readOnly(databasePath());
    if (!readOnly.held())
        QSKIP(qPrintable(
            needsUserWithoutRoot("This file system cannot make a file read-only for this user")));
    expectNewTemplateRefused(QStringLiteral("Neu"),
                             QStringLiteral("Die Datenbank ist schreibgeschützt. Änderungen "
                                            "können nicht gespeichert werden."));
}

void TestTemplate::lockedDatabaseRefusesANewTemplateAtOnce()
{
    storeTemplate(QStringLiteral("Standard"));
    open([&](frmTemplate &form) {
        // The lock passes after a few seconds: a window that waited it out would store the
        // template instead.
        const DatabaseStates::PassingLock lock(databasePath());
        QVERIFY(lock.held());
        env->modals.answerInput(QStringLiteral("Neu"));
        env->modals.answerMessage(vbOK);
        form.cmdNeu->click();
        const Modal::Request message = env->modals.seen().last();
        QCOMPARE(message.text,
                 QStringLiteral("Die Datenbank \"%1\" kann nicht gelesen werden. Die Datenbank "
                                "ist gesperrt, weil ein anderes Programm sie gerade verwendet. "
                                "Versuchen Sie es später noch einmal.")
                     .arg(QDir::toNativeSeparators(databasePath())));
        QCOMPARE(message.style, int(vbCritical));
        QCOMPARE(form.lblName->text(), QStringLiteral("Standard"));
        form.cmdAbbrechen->click();
    });
    QCOMPARE(storedNames(), QStringList {"Standard"});
}

void TestTemplate::applyTickedRows_data()
{
    QTest::addColumn<bool>("onlyColour");
    QTest::addColumn<QString>("expected");
    QTest::newRow("colour only") << true
                                 << QStringLiteral(
                                        "%1,12,false,false,false,false,0,255,0,0,0,0,false");
    QTest::newRow("all thirteen")
        << false << QStringLiteral("Liberation Serif,18,true,true,true,true,22,255,2,5,10,3,true");
}

void TestTemplate::applyTickedRows()
{
    QFETCH(bool, onlyColour);
    QFETCH(QString, expected);
    storeTemplate(QStringLiteral("Alles"),
                  {{"Fontname", "Liberation Serif"},
                   {"Fontsize", 18},
                   {"Bold", 1},
                   {"Italic", 1},
                   {"Underline", 1},
                   {"Strikethru", 1},
                   {"Charoffset", 22},
                   {"Color", "255"},
                   {"Alignment", 2},
                   {"Indent", 5},
                   {"Hangingindent", 10},
                   {"Rightindent", 3},
                   {"Bullet", 1}});
    const QString untouched = text->Text();
    const QString before = attributes(*text);
    open([&](frmTemplate &form) {
        if (onlyColour) {
            for (QCheckBox *box : form.checkBoxes()) {
                if (box != form.chkColor)
                    box->click();
            }
        }
        form.cmdOK->click();
        QVERIFY(!form.isVisible());
    });
    QCOMPARE(text->SelStart(), 0);
    QCOMPARE(text->SelLength(), 6);
    QCOMPARE(text->Text(), untouched);
    QCOMPARE(attributes(*text), QString(expected).replace(QStringLiteral("%1"), fontFamily()));
    // The rest of the text keeps its format.
    text->setSelStart(7);
    text->setSelLength(3);
    QCOMPARE(attributes(*text).section(u',', 7, 7), QStringLiteral("0"));
    // One Undo takes the whole template back.
    document->mnuEditUndo->trigger();
    text->setSelStart(0);
    text->setSelLength(6);
    QCOMPARE(attributes(*text), before);
    QCOMPARE(text->Text(), untouched);
}

void TestTemplate::refusedValueAppliesNothing()
{
    storeTemplate(QStringLiteral("Kaputt"), {{"Bold", 1}, {"Color", "rot"}});
    const QString before = attributes(*text);
    open([&](frmTemplate &form) {
        env->modals.answerMessage(vbOK);
        form.cmdOK->click();
        QVERIFY(form.isVisible());
        const Modal::Request &message = env->modals.seen().last();
        QCOMPARE(message.style, int(vbCritical));
        QCOMPARE(message.title, title);
        QVERIFY2(message.text.contains(QStringLiteral("Schriftfarbe")), qPrintable(message.text));
        QCOMPARE(attributes(*text), before);
        form.chkColor->click();
        form.cmdOK->click();
        QVERIFY(!form.isVisible());
    });
    QCOMPARE(text->SelBold(), std::optional<bool>(true));
}

// A template made from the selection and applied to it changes nothing; the next Undo takes
// back the typing before it.
void TestTemplate::templateOfTheSelectionAddsNoUndoStep()
{
    text->setText(QString());
    QTest::keyClicks(text, "Erster Absatz");
    text->setSelStart(0);
    text->setSelLength(6);
    open([&](frmTemplate &form) {
        env->modals.answerInput(QStringLiteral("Wie gehabt"));
        form.cmdNeu->click();
        form.cmdOK->click();
    });
    document->mnuEditUndo->trigger();
    QCOMPARE(text->Text(), QString());
}

void TestTemplate::deleting_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("one of three") << QStringList {"Eins", "Zwei", "Drei"} << int(vbYes) << "Eins"
                                  << QStringList {"Eins", "Drei"};
    QTest::newRow("answered no") << QStringList {"Eins", "Zwei", "Drei"} << int(vbNo) << "Zwei"
                                 << QStringList {"Eins", "Zwei", "Drei"};
    QTest::newRow("the last one") << QStringList {"Eins"} << int(vbYes) << "" << QStringList();
}

void TestTemplate::deleting()
{
    QFETCH(QStringList, names);
    QFETCH(int, answer);
    QFETCH(QString, shown);
    QFETCH(QStringList, left);
    for (const QString &name : names)
        storeTemplate(name,
                      {{"Alignment", 2}, {"Indent", 5}, {"Hangingindent", 3}, {"Color", "255"}});
    open([&](frmTemplate &form) {
        if (names.size() > 1)
            QTest::mouseClick(form.Data1->nextButton(), Qt::LeftButton);
        env->modals.answerMessage(answer);
        form.cmdLoeschen->click();
        const Modal::Request &question = env->modals.seen().last();
        QCOMPARE(question.text,
                 QStringLiteral("Wollen Sie die aktuelle Formatvorlage wirklich löschen?"));
        QCOMPARE(question.style, int(vbYesNo | vbQuestion));
        QCOMPARE(question.title, title);
        QCOMPARE(form.lblName->text(), shown);
        const bool empty = left.isEmpty();
        QCOMPARE(form.lblMuster->isVisible(), !empty);
        QCOMPARE(form.cmdOK->isEnabled(), !empty);
        QCOMPARE(form.cmdLoeschen->isEnabled(), !empty);
        // With no template left, no value of the deleted one stays in sight.
        const QStringList displays = {form.lblFontname->text(), form.lblAlignment2->text(),
                                      form.lblIndent2->text(), form.lblHangingindent2->text()};
        const QStringList shownValues = empty
            ? QStringList {QString(), QString(), QString(), QString()}
            : QStringList {fontFamily(), QStringLiteral("zentriert"), QStringLiteral("8"),
                           QStringLiteral("-3")};
        QCOMPARE(displays, shownValues);
        QCOMPARE(colourOfSwatch(form),
                 empty ? form.palette().color(QPalette::Button) : QColor(Qt::red));
        form.cmdAbbrechen->click();
    });
    QCOMPARE(storedNames(), left);
}

void TestTemplate::f1OpensHelpTopic()
{
    Help::setHelpFile(QStringLiteral(VELMAR_RESOURCES_DIR "/velmar.hlp"));
    open([](frmTemplate &form) {
        QTest::keyClick(&form, Qt::Key_F1);
        QVERIFY(Help::viewer());
        QCOMPARE(Help::viewer()->currentContext(), 41);
        form.cmdAbbrechen->click();
    });
    Help::closeViewer();
}

void TestTemplate::screenshot()
{
    storeTemplate(QStringLiteral("Überschrift"),
                  {{"Fontsize", 16},
                   {"Bold", 1},
                   {"Color", "8388608"},
                   {"Alignment", 2},
                   {"Indent", 10},
                   {"Hangingindent", -5}});
    const QString folder = screenshotFolder();
    const QString file = QDir(folder).filePath(QStringLiteral("frmTemplate.png"));
    QFile::remove(file);
    open([&](frmTemplate &form) {
        QVERIFY(form.grab().save(file));
        QCOMPARE(GrabChecks::cutCaptions(&form).join(QStringLiteral("; ")), QString());
        form.cmdAbbrechen->click();
    });
}

QTEST_MAIN(TestTemplate)
#include "tst_template.moc"
