// What every test needs: its own temporary program folder, database folder and settings store,
// and scripted answers for every modal wait.
#pragma once

#include "platform/Modal.h"

#include <QList>
#include <QTemporaryDir>
#include <deque>

// Answers modals in the order queued. A modal that appears with nothing queued fails the
// running test at once and is cancelled, so no test ever hangs.
class ModalScript
{
public:
    ModalScript();
    ~ModalScript();

    void answerMessage(int result);
    void answerInput(const QString &text);
    void answerFile(const QString &path);
    void answerPrint(const QString &pdfPath, int flags = 0, int copies = 1);
    void answerForm(std::function<void(QWidget *)> act);
    void cancel();

    // While one lives, modals are the program's real dialogs, which the test closes itself.
    class RealDialogs
    {
    public:
        explicit RealDialogs(ModalScript &script);
        ~RealDialogs();
        RealDialogs(const RealDialogs &) = delete;
        RealDialogs &operator=(const RealDialogs &) = delete;

        // Waits for the next real modal, lets look see it open, then closes it.
        static void inspectNext(const std::function<void(QWidget *)> &look);

    private:
        ModalScript &script;
    };

    // Every modal that appeared, in order.
    const QList<Modal::Request> &seen() const { return requests; }
    int pending() const { return static_cast<int>(answers.size()); }
    void clear();

private:
    void install();
    Modal::Answer next(const Modal::Request &request);
    std::deque<Modal::Answer> answers;
    QList<Modal::Request> requests;
};

class TestEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();

    QString programFolder() const;
    QString databaseFolder() const;
    QString settingsFile() const;
    // A path inside the temporary folder for the test's own files.
    QString path(const QString &name) const;

    ModalScript modals;

private:
    QTemporaryDir dir;
};

// The folder under the build folder where tests leave screenshots for a look by eye; made when
// missing.
QString screenshotFolder();

// Why a test skips where root's rights defeat what it checks (file and folder permissions), and
// how to run it so that it does not.
QString needsUserWithoutRoot(const char *why);
