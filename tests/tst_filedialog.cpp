// The open and save dialogs as the user sees them: the real file dialog, its filter entries and
// the files each entry shows.
#include "platform/CommonDialog.h"
#include "tests/support/TestEnvironment.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QListView>
#include <QTest>

class TestFileDialog : public QObject
{
    Q_OBJECT

private slots:
    void filterEntriesShowTheirLabels();
    void pickedFilterShowsMatchingFiles_data();
    void pickedFilterShowsMatchingFiles();

private:
    static QString programFilter()
    {
        return QStringLiteral("Alle Dateien (*.*)|*.*|Text-Dateien (*.txt)|*.txt|"
                              "RTF-Dateien (*.rtf)|*.rtf");
    }
    static QStringList shownFiles(QFileDialog &dialog);
};

// The names the dialog's file list shows, folders left out.
QStringList TestFileDialog::shownFiles(QFileDialog &dialog)
{
    auto *view = dialog.findChild<QListView *>(QStringLiteral("listView"));
    if (!view)
        return {QStringLiteral("<no file list>")};
    const QAbstractItemModel *model = view->model();
    QStringList names;
    for (int row = 0; row < model->rowCount(view->rootIndex()); ++row) {
        const QModelIndex index = model->index(row, 0, view->rootIndex());
        if (!model->hasChildren(index))
            names.append(index.data().toString());
    }
    names.sort(Qt::CaseInsensitive);
    return names;
}

void TestFileDialog::filterEntriesShowTheirLabels()
{
    CommonDialog common;
    common.Filter = programFilter();
    common.FilterIndex = 3;
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    common.setUpFileDialog(dialog, false);
    auto *combo = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
    QVERIFY(combo);
    QStringList labels;
    for (int i = 0; i < combo->count(); ++i)
        labels.append(combo->itemText(i));
    QCOMPARE(labels,
             QStringList({"Alle Dateien (*.*)", "Text-Dateien (*.txt)", "RTF-Dateien (*.rtf)"}));
    QCOMPARE(combo->currentIndex(), 2);
}

void TestFileDialog::pickedFilterShowsMatchingFiles_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<int>("picked");
    QTest::addColumn<QStringList>("expected");
    const QStringList all = {"ALT.RTF", "brief.rtf", "LIESMICH", "notiz.txt"};
    const QStringList texts = {"notiz.txt"};
    const QStringList rtf = {"ALT.RTF", "brief.rtf"};
    QTest::newRow("open, all files") << false << 1 << all;
    QTest::newRow("open, text files") << false << 2 << texts;
    QTest::newRow("open, RTF files") << false << 3 << rtf;
    QTest::newRow("save, all files") << true << 1 << all;
    QTest::newRow("save, RTF files") << true << 3 << rtf;
}

void TestFileDialog::pickedFilterShowsMatchingFiles()
{
    QFETCH(bool, save);
    QFETCH(int, picked);
    QFETCH(QStringList, expected);
    TestEnvironment env;
    const QString folder = env.path("Texte");
    QDir().mkpath(folder);
    QDir().mkpath(folder + "/Unterordner");
    for (const char *name : {"brief.rtf", "ALT.RTF", "notiz.txt", "LIESMICH"}) {
        QFile file(folder + '/' + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    CommonDialog common;
    common.Filter = programFilter();
    common.FilterIndex = 2;
    common.Flags = save ? CommonDialog::cdlOFNOverwritePrompt : CommonDialog::cdlOFNFileMustExist;
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    common.setUpFileDialog(dialog, save);
    dialog.setDirectory(folder);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    // The user picks the entry in the file-type box with the keyboard.
    auto *combo = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
    QVERIFY(combo);
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 1; i < picked; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(combo->currentIndex(), picked - 1);
    QTRY_COMPARE(shownFiles(dialog), expected);
    common.takeChoice(dialog);
    QCOMPARE(common.FilterIndex, picked);
}

QTEST_MAIN(TestFileDialog)
#include "tst_filedialog.moc"
