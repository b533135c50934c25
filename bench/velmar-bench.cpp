// velmar-bench: loads, converts and times documents in the edit control, printing name=value.
#include "common/AppPaths.h"
#include "document/frmDocument.h"
#include "frame/frmMain.h"
#include "platform/CommonDialog.h"
#include "platform/Drives.h"
#include "platform/Modal.h"
#include "platform/Settings.h"
#include "platform/StatusBar.h"
#include "tests/support/LoopGaps.h"
#include "text/ClipboardFormats.h"
#include "text/RichTextBox.h"
#include "text/rtf/RtfReader.h"
#include "tools/frmImage.h"
#include "tools/frmSearch.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "velmar-bench: %s\n", qPrintable(message));
    return 1;
}

// Loads by content: RTF when it looks like RTF, else plain text. Empty on success.
std::optional<QString> load(RichTextBox &box, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
    const int type
        = rtf::looksLikeRtf(file.read(4096)) ? RichTextBox::rtfRTF : RichTextBox::rtfText;
    file.close();
    switch (box.LoadFile(path, type)) {
    case RichTextBox::LoadResult::Ok:
        return std::nullopt;
    case RichTextBox::LoadResult::AccessError:
        return QStringLiteral("cannot read %1").arg(path);
    case RichTextBox::LoadResult::NotRegularFile:
        return QStringLiteral("%1 is not a regular file").arg(path);
    case RichTextBox::LoadResult::TooLarge:
        return QStringLiteral("%1 is too large").arg(path);
    case RichTextBox::LoadResult::TooManyParagraphs:
        return QStringLiteral("%1 has too many paragraphs").arg(path);
    case RichTextBox::LoadResult::FormatError:
        break;
    }
    return QStringLiteral("%1 is not valid RTF").arg(path);
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values.at(n / 2) : (values.at(n / 2 - 1) + values.at(n / 2)) / 2.0;
}

double peakMib()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

void print(const char *name, double value)
{
    std::printf("%s=%.3f\n", name, value);
}

int toText(const QString &path)
{
    RichTextBox box;
    if (const auto error = load(box, path))
        return fail(*error);
    // Soft line breaks end a line too, as other programs print them; pictures have no text.
    const QByteArray bytes = ClipboardFormats::plainText(box.Text()).toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    return 0;
}

int roundTrip(const QString &in, const QString &out)
{
    RichTextBox box;
    if (const auto error = load(box, in))
        return fail(*error);
    if (!box.SaveFile(out, RichTextBox::rtfRTF))
        return fail(QStringLiteral("cannot write %1").arg(out));
    return 0;
}

int loadTimes(const QString &path, int count)
{
    RichTextBox box;
    QList<double> times;
    for (int i = 0; i < count; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (const auto error = load(box, path))
            return fail(*error);
        times.append(timer.nsecsElapsed() / 1.0e6);
    }
    print("median_ms", median(times));
    print("peak_mib", peakMib());
    return 0;
}

int selProps(const QString &path)
{
    RichTextBox box;
    if (const auto error = load(box, path))
        return fail(*error);
    const int end = static_cast<int>(box.Text().size());
    // Qt lays a document out on demand; this is the cost of laying out all of it once.
    QElapsedTimer layoutTimer;
    layoutTimer.start();
    box.GetLineFromChar(end);
    print("layout_ms", layoutTimer.nsecsElapsed() / 1.0e6);
    QList<double> times;
    int nulls = 0;
    for (int i = 0; i < 21; ++i) {
        box.setSelStart(0);
        box.setSelLength(end);
        QElapsedTimer timer;
        timer.start();
        const bool values[] = {
            box.SelFontName().has_value(),      box.SelFontSize().has_value(),
            box.SelBold().has_value(),          box.SelItalic().has_value(),
            box.SelUnderline().has_value(),     box.SelStrikeThru().has_value(),
            box.SelCharOffset().has_value(),    box.SelColor().has_value(),
            box.SelAlignment().has_value(),     box.SelIndent().has_value(),
            box.SelHangingIndent().has_value(), box.SelRightIndent().has_value(),
            box.SelBullet().has_value(),        box.BulletIndent().has_value(),
            box.SelTabCount().has_value(),      box.SelTabs(0).has_value(),
        };
        times.append(timer.nsecsElapsed() / 1.0e3);
        nulls = static_cast<int>(std::count(std::begin(values), std::end(values), false));
    }
    print("median_us", median(times));
    std::printf("null_properties=%d\n", nulls);
    return 0;
}

// One selection feedback run on a rich-text window of the main window, with a caret in the
// middle and with everything selected. The program's folders and settings are temporary.
int selChange(const QString &path)
{
    QTemporaryDir scratch;
    AppPaths::setDatabaseFolder(scratch.path());
    Settings::useFile(scratch.filePath(QStringLiteral("settings.ini")));
    frmMain main;
    main.LoadNewDoc();
    auto *window = qobject_cast<frmDocument *>(main.ActiveForm());
    if (const auto error = load(*window->txtText, path))
        return fail(*error);
    RichTextBox &text = *window->txtText;
    const int end = static_cast<int>(text.Text().size());
    text.GetLineFromChar(end);
    auto timeOf = [window](auto select) {
        QList<double> times;
        for (int i = 0; i < 21; ++i) {
            select();
            QElapsedTimer timer;
            timer.start();
            window->txtText_SelChange();
            times.append(timer.nsecsElapsed() / 1.0e3);
        }
        return median(times);
    };
    print("caret_us", timeOf([&text, end] { text.setSelStart(end / 2); }));
    print("all_us", timeOf([&text, end] {
              text.setSelStart(0);
              text.setSelLength(end);
          }));
    return 0;
}

// Alle ersetzen of the search dialog, opened through Edit > Ersetzen of a document window on
// FILE: direction "gesamt", neither whole word nor match case. The count is the dialog's own.
int replaceAll(const QString &path, const QString &find, const QString &replacement)
{
    QTemporaryDir scratch;
    AppPaths::setDatabaseFolder(scratch.path());
    Settings::useFile(scratch.filePath(QStringLiteral("settings.ini")));
    frmMain main;
    if (path.endsWith(u".rtf", Qt::CaseInsensitive))
        main.LoadNewDoc();
    else
        main.LoadNewText();
    DocumentWindow *window = main.ActiveForm();
    if (const auto error = load(*window->txtText, path))
        return fail(*error);
    double ms = 0;
    QString status;
    Modal::setHandler([&](const Modal::Request &) {
        Modal::Answer answer;
        answer.act = [&](QWidget *form) {
            auto *dialog = qobject_cast<frmSearch *>(form);
            dialog->txtSuchen->setText(find);
            dialog->txtErsetzen->setText(replacement);
            QElapsedTimer timer;
            timer.start();
            dialog->cmdAlleErsetzen_Click();
            ms = timer.nsecsElapsed() / 1.0e6;
            status = dialog->StatusBar1->Panels(QStringLiteral("Meldung"))->text();
            dialog->cmdAbbrechen_Click();
        };
        return answer;
    });
    window->mnuEditChange_Click();
    Modal::setHandler({});
    const QRegularExpressionMatch number = QRegularExpression(QStringLiteral("\\d+")).match(status);
    const int count = number.hasMatch()       ? number.captured().toInt()
        : status.startsWith(u"Es wurde eine") ? 1
                                              : 0;
    std::printf("count=%d\n", count);
    print("ms", ms);
    return 0;
}

// FILE opened through the main window's open dialog, in the window its name asks for, and
// printed through that window's File > Drucken with the print dialog answered "all", one copy,
// into the PDF file OUT.
int printFile(const QString &path, const QString &pdf)
{
    QTemporaryDir scratch;
    AppPaths::setDatabaseFolder(scratch.path());
    Settings::useFile(scratch.filePath(QStringLiteral("settings.ini")));
    frmMain main;
    QString unexpected;
    Modal::setHandler([&](const Modal::Request &request) {
        Modal::Answer answer;
        if (request.kind == Modal::Kind::FileOpen) {
            answer.text = QFileInfo(path).absoluteFilePath();
        } else if (request.kind == Modal::Kind::Print) {
            answer.result = request.style & ~CommonDialog::cdlPDSelection;
            answer.text = pdf;
            answer.copies = 1;
        } else {
            unexpected = request.text;
            answer.cancelled = true;
        }
        return answer;
    });
    main.OpenDoc();
    DocumentWindow *window = main.ActiveForm();
    if (!window || window->Dateiname.isEmpty() || !unexpected.isEmpty()) {
        Modal::setHandler({});
        return fail(unexpected.isEmpty() ? QStringLiteral("cannot open %1").arg(path) : unexpected);
    }
    QElapsedTimer timer;
    timer.start();
    window->mnuFilePrint_Click();
    const double ms = timer.nsecsElapsed() / 1.0e6;
    Modal::setHandler({});
    window->Tag.clear();
    if (!QFileInfo(pdf).isFile() || QFileInfo(pdf).size() == 0)
        return fail(QStringLiteral("nothing printed to %1").arg(pdf));
    print("ms", ms);
    return 0;
}

// Lets the event loop run until everything already queued (painting among it) has been handled,
// which is when a key the user presses now would be served.
void untilReadyForInput()
{
    QCoreApplication::processEvents();
    QEventLoop loop;
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    loop.exec();
}

// A main window as the program starts it, without start dialogs, in a temporary environment.
struct ShownProgram
{
    ShownProgram()
    {
        AppPaths::setDatabaseFolder(scratch.path());
        Settings::useFile(scratch.filePath(QStringLiteral("settings.ini")));
        SaveSetting(QStringLiteral("Tip"), QStringLiteral("False"));
        SaveSetting(QStringLiteral("Startup"), QStringLiteral("False"));
        main.MDIForm_Load();
        untilReadyForInput();
    }

    // Öffnen with FILE chosen in the dialog; the milliseconds until the window takes input.
    double open(const QString &path)
    {
        Modal::setHandler([path](const Modal::Request &) {
            Modal::Answer answer;
            answer.text = path;
            return answer;
        });
        QElapsedTimer timer;
        timer.start();
        main.OpenDoc();
        untilReadyForInput();
        const double ms = timer.nsecsElapsed() / 1.0e6;
        Modal::setHandler({});
        return ms;
    }

    QTemporaryDir scratch;
    frmMain main;
};

// FILE itself, or with a size in MB a file of at least that size made of FILE repeated, in the
// benchmark's own temporary folder: how the large benchmark file is made from the corpus. An RTF
// file keeps its header and closing brace once and repeats its body (from the first \sectd).
std::optional<QString> benchFile(const QString &path, const QString &megabytes,
                                 const QTemporaryDir &folder)
{
    if (megabytes.isEmpty())
        return path;
    bool ok = false;
    const qint64 size = megabytes.toLongLong(&ok) * 1000 * 1000;
    QFile source(path);
    if (!ok || size <= 0 || !source.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray piece = source.readAll();
    QByteArray tail;
    const qsizetype body = piece.indexOf("\\sectd");
    const qsizetype end = piece.lastIndexOf('}');
    if (path.endsWith(u".rtf", Qt::CaseInsensitive) && body > 0 && end > body) {
        tail = piece.mid(end);
        piece.truncate(end);
    }
    QFile target(folder.filePath(QStringLiteral("large-") + QFileInfo(path).fileName()));
    if (piece.isEmpty() || !target.open(QIODevice::WriteOnly))
        return std::nullopt;
    target.write(piece);
    while (target.size() + tail.size() < size)
        target.write(tail.isEmpty() ? piece : piece.mid(body));
    target.write(tail);
    return target.fileName();
}

// How long the event loop is watched after an open.
constexpr int WatchAfterOpenMs = 30000;

// Open through the main window, a watch of the event loop after it, then the bare load of the
// same file.
int openTimes(const QString &file, const QString &megabytes)
{
    QTemporaryDir folder;
    const std::optional<QString> made = benchFile(file, megabytes, folder);
    if (!made)
        return fail(QStringLiteral("cannot make the file from %1").arg(file));
    const QString path = *made;
    ShownProgram program;
    double openMs = 0;
    qint64 longestBlock = 0;
    {
        const LoopGaps watch(1);
        openMs = program.open(path);
        longestBlock = watch.longestUntilNow();
    }
    const double peak = peakMib();
    DocumentWindow *window = program.main.ActiveForm();
    const bool opened = window && window->Dateiname == path;
    print("open_ms", openMs);
    print("longest_block_ms", double(longestBlock));
    print("peak_mib", peak);
    std::printf("opened=%d\n", opened ? 1 : 0);
    std::fflush(stdout);
    // The window goes on laying the text out after the open; a user types then.
    {
        const LoopGaps watch(1);
        QElapsedTimer timer;
        timer.start();
        QEventLoop loop;
        QTimer::singleShot(WatchAfterOpenMs, &loop, &QEventLoop::quit);
        loop.exec();
        print("watch_ms", timer.nsecsElapsed() / 1.0e6);
        print("watch_longest_block_ms", double(watch.longestUntilNow()));
        print("watch_peak_mib", peakMib());
    }
    if (!opened)
        return 0;
    RichTextBox box;
    QElapsedTimer timer;
    timer.start();
    const bool richText = path.endsWith(u".rtf", Qt::CaseInsensitive);
    if (box.LoadFile(path, richText ? RichTextBox::rtfRTF : RichTextBox::rtfText)
        != RichTextBox::LoadResult::Ok)
        return fail(QStringLiteral("cannot load %1").arg(path));
    print("load_ms", timer.nsecsElapsed() / 1.0e6);
    return 0;
}

// 200 characters typed in the middle of FILE in its window; each key is timed from the key event
// to the end of the window's change and selection feedback, and painted before the next.
int typeTimes(const QString &file, const QString &megabytes)
{
    QTemporaryDir folder;
    const std::optional<QString> made = benchFile(file, megabytes, folder);
    if (!made)
        return fail(QStringLiteral("cannot make the file from %1").arg(file));
    const QString path = *made;
    ShownProgram program;
    program.open(path);
    DocumentWindow *window = program.main.ActiveForm();
    if (!window || window->Dateiname != path)
        return fail(QStringLiteral("cannot open %1").arg(path));
    RichTextBox *text = window->txtText;
    text->setSelStart(static_cast<int>(text->Text().size() / 2));
    untilReadyForInput();
    QList<double> times;
    const QString letters = QStringLiteral("Velmar tippt mitten im Text ");
    for (int i = 0; i < 200; ++i) {
        const QChar letter = letters.at(i % letters.size());
        const int key
            = letter == u' ' ? Qt::Key_Space : Qt::Key_A + (letter.toUpper().unicode() - 'A');
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(letter));
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(letter));
        QElapsedTimer timer;
        timer.start();
        QCoreApplication::sendEvent(text, &press);
        times.append(timer.nsecsElapsed() / 1.0e6);
        QCoreApplication::sendEvent(text, &release);
        untilReadyForInput();
    }
    print("key_ms", median(times));
    print("worst_key_ms", *std::max_element(times.begin(), times.end()));
    return 0;
}

// Serves the event loop until the picture browser has nothing left to read or load.
void untilIdle(const frmImage &form)
{
    while (form.busy())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Shows the picture browser with ROOT as its one drive, answering any message box.
frmImage &showBrowserOn(const QString &root, bool &refused)
{
    Modal::setHandler([&refused](const Modal::Request &) {
        refused = true;
        return Modal::Answer {};
    });
    Drives::Volume drive;
    drive.rootPath = root;
    drive.fileSystem = QStringLiteral("ext4");
    Drives::setVolumeSource([drive] { return QList<Drives::Volume> {drive}; });
    frmImage::Show();
    return frmImageForm().get();
}

// FILE clicked in a shown picture browser whose one drive is FILE's folder; waits for the
// preview or the refusal message, then prints the time, the longest wait of the event loop, the
// peak memory and whether it showed.
int pictureTimes(const QString &path, const QString &out)
{
    const QFileInfo file(path);
    if (!file.isFile())
        return fail(QStringLiteral("cannot read %1").arg(path));
    QTemporaryDir scratch;
    Settings::useFile(scratch.filePath(QStringLiteral("settings.ini")));
    bool refused = false;
    const QString root = file.absolutePath() + QLatin1Char('/');
    frmImage &form = showBrowserOn(root, refused);
    untilIdle(form);
    form.TreeView1_NodeClick(form.node(root));
    untilIdle(form);
    const auto rows = form.ListView1->findItems(file.fileName(), Qt::MatchExactly);
    if (rows.isEmpty())
        return fail(QStringLiteral("%1 is not in the picture list").arg(path));
    form.ListView1->scrollToItem(rows.first());
    const QPoint where = form.ListView1->visualItemRect(rows.first()).center();

    const LoopGaps watch(1);
    QElapsedTimer timer;
    timer.start();
    QMouseEvent press(QEvent::MouseButtonPress, where,
                      form.ListView1->viewport()->mapToGlobal(where), Qt::LeftButton,
                      Qt::LeftButton, {});
    QMouseEvent release(QEvent::MouseButtonRelease, where,
                        form.ListView1->viewport()->mapToGlobal(where), Qt::LeftButton, {}, {});
    QCoreApplication::sendEvent(form.ListView1->viewport(), &press);
    QCoreApplication::sendEvent(form.ListView1->viewport(), &release);
    untilIdle(form);
    const double ms = timer.nsecsElapsed() / 1.0e6;
    print("ms", ms);
    print("longest_block_ms", double(watch.longestUntilNow()));
    print("peak_mib", peakMib());
    std::printf("shown=%d\n", refused ? 0 : 1);
    if (!out.isEmpty() && !refused && !form.Bild1->pixmap().save(out, "PNG"))
        return fail(QStringLiteral("cannot write %1").arg(out));
    frmImageForm().unload();
    return 0;
}

// Empty files named bildNNNNN.bmp in FOLDER, made with it.
bool makeFiles(const QString &folder, int count)
{
    if (!QDir().mkpath(folder))
        return false;
    for (int i = 0; i < count; ++i) {
        QFile file(folder + QStringLiteral("bild%1.bmp").arg(i, 5, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly))
            return false;
    }
    return true;
}

// The picture browser opened on a drive whose root holds FILES files and the folder bilder,
// whose subfolder viele holds FILES files too; then the drive and bilder expanded, as a user
// opens them: the time of each step until the tree is read, and the event loop's longest block.
int pictureTreeTimes(int files)
{
    QTemporaryDir scratch;
    Settings::useFile(scratch.filePath(QStringLiteral("settings.ini")));
    const QString root = scratch.filePath(QStringLiteral("drive/"));
    if (!makeFiles(root, files) || !makeFiles(root + QStringLiteral("bilder/viele/"), files))
        return fail(QStringLiteral("cannot make the files in %1").arg(root));
    bool refused = false;
    const auto timed = [](const char *step, const std::function<void()> &action) {
        const LoopGaps watch(1);
        QElapsedTimer timer;
        timer.start();
        action();
        const double ms = timer.nsecsElapsed() / 1.0e6;
        print(qPrintable(QStringLiteral("%1_ms").arg(QLatin1String(step))), ms);
        print(qPrintable(QStringLiteral("%1_longest_block_ms").arg(QLatin1String(step))),
              double(watch.longestUntilNow()));
    };
    frmImage *form = nullptr;
    timed("open", [&] {
        form = &showBrowserOn(root, refused);
        untilIdle(*form);
    });
    for (const QString &key : {root, root + QStringLiteral("bilder/")}) {
        QTreeWidgetItem *node = form->node(key);
        if (!node)
            return fail(QStringLiteral("%1 is not in the tree").arg(key));
        timed(key == root ? "expand_drive" : "expand_folder", [&] {
            node->setExpanded(true);
            untilIdle(*form);
        });
    }
    if (!form->node(root + QStringLiteral("bilder/viele/")))
        return fail(QStringLiteral("the tree lacks the folder viele"));
    print("peak_mib", peakMib());
    frmImageForm().unload();
    return 0;
}

// FILE (or FILE repeated to MB) on the clipboard, as RTF for ".rtf" and as plain text
// otherwise, pasted through Edit > Einfügen into an empty window of the kind its name asks for:
// paste_ms= until the window is ready for input again.
int pasteTimes(const QString &file, const QString &megabytes)
{
    QTemporaryDir folder;
    const std::optional<QString> made = benchFile(file, megabytes, folder);
    if (!made)
        return fail(QStringLiteral("cannot make the file from %1").arg(file));
    QFile source(*made);
    if (!source.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1").arg(*made));
    const QByteArray bytes = source.readAll();
    const bool richText = made->endsWith(u".rtf", Qt::CaseInsensitive);
    ShownProgram program;
    auto *data = new QMimeData;
    if (richText)
        data->setData(ClipboardFormats::rtf(), bytes);
    else
        data->setText(QString::fromUtf8(bytes));
    QGuiApplication::clipboard()->setMimeData(data);
    if (richText)
        program.main.LoadNewDoc();
    else
        program.main.LoadNewText();
    DocumentWindow *window = program.main.ActiveForm();
    if (!window)
        return fail(QStringLiteral("no window to paste into"));
    untilReadyForInput();
    QElapsedTimer timer;
    timer.start();
    window->mnuEditPaste_Click();
    untilReadyForInput();
    const double ms = timer.nsecsElapsed() / 1.0e6;
    if (window->txtText->Text().isEmpty())
        return fail(QStringLiteral("nothing pasted from %1").arg(*made));
    print("paste_ms", ms);
    // The layout goes on behind the paste; closing the window would wait for it to reach the
    // caret, which is not what is measured here.
    std::fflush(stdout);
    std::_Exit(0);
}

int usage()
{
    std::fprintf(stderr,
                 "usage: velmar-bench totext FILE | roundtrip IN OUT | load FILE [N] | "
                 "selprops FILE | selchange FILE | replace FILE FIND REPLACEMENT | "
                 "print IN OUT.pdf | open FILE [MB] | paste FILE [MB] | type FILE [MB] | "
                 "picture FILE [--save OUT.png] | picture --tree [FILES]\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString command = args.value(0);
    if (command == u"totext" && args.size() == 2)
        return toText(args.at(1));
    if (command == u"roundtrip" && args.size() == 3)
        return roundTrip(args.at(1), args.at(2));
    if (command == u"load" && (args.size() == 2 || args.size() == 3)) {
        bool ok = true;
        const int count = args.size() == 3 ? args.at(2).toInt(&ok) : 10;
        return ok && count > 0 ? loadTimes(args.at(1), count) : usage();
    }
    if (command == u"selprops" && args.size() == 2)
        return selProps(args.at(1));
    if (command == u"selchange" && args.size() == 2)
        return selChange(args.at(1));
    if (command == u"replace" && args.size() == 4)
        return replaceAll(args.at(1), args.at(2), args.at(3));
    if (command == u"print" && args.size() == 3)
        return printFile(args.at(1), args.at(2));
    if (command == u"open" && (args.size() == 2 || args.size() == 3))
        return openTimes(args.at(1), args.value(2));
    if (command == u"paste" && (args.size() == 2 || args.size() == 3))
        return pasteTimes(args.at(1), args.value(2));
    if (command == u"type" && (args.size() == 2 || args.size() == 3))
        return typeTimes(args.at(1), args.value(2));
    if (command == u"picture" && args.value(1) == u"--tree" && args.size() <= 3) {
        bool ok = true;
        const int files = args.size() == 3 ? args.at(2).toInt(&ok) : 50000;
        return ok && files >= 0 ? pictureTreeTimes(files) : usage();
    }
    if (command == u"picture" && args.size() == 2)
        return pictureTimes(args.at(1), QString());
    if (command == u"picture" && args.size() == 4 && args.at(2) == u"--save")
        return pictureTimes(args.at(1), args.at(3));
    return usage();
}
