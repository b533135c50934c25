// Temporary folders, settings and modal answers for one test.
#include "tests/support/TestEnvironment.h"

#include "common/AppPaths.h"
#include "platform/Settings.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

ModalScript::ModalScript()
{
    install();
}

void ModalScript::install()
{
    Modal::setHandler([this](const Modal::Request &request) { return next(request); });
}

ModalScript::RealDialogs::RealDialogs(ModalScript &owner) : script(owner)
{
    Modal::setHandler({});
}

ModalScript::RealDialogs::~RealDialogs()
{
    script.install();
}

void ModalScript::RealDialogs::inspectNext(const std::function<void(QWidget *)> &look)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, look] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box)
            return;
        poll->stop();
        poll->deleteLater();
        look(box);
        box->close();
    });
    poll->start(10);
}

ModalScript::~ModalScript()
{
    Modal::setHandler({});
}

void ModalScript::answerMessage(int result)
{
    Modal::Answer answer;
    answer.result = result;
    answers.push_back(answer);
}

void ModalScript::answerInput(const QString &text)
{
    Modal::Answer answer;
    answer.text = text;
    answers.push_back(answer);
}

void ModalScript::answerFile(const QString &path)
{
    answerInput(path);
}

void ModalScript::answerPrint(const QString &pdfPath, int flags, int copies)
{
    Modal::Answer answer;
    answer.text = pdfPath;
    answer.result = flags;
    answer.copies = copies;
    answers.push_back(answer);
}

void ModalScript::answerForm(std::function<void(QWidget *)> act)
{
    Modal::Answer answer;
    answer.act = std::move(act);
    answers.push_back(answer);
}

void ModalScript::cancel()
{
    Modal::Answer answer;
    answer.cancelled = true;
    answers.push_back(answer);
}

void ModalScript::clear()
{
    answers.clear();
    requests.clear();
}

Modal::Answer ModalScript::next(const Modal::Request &request)
{
    requests.append(request);
    if (answers.empty()) {
        const QByteArray what = QStringLiteral("unexpected modal \"%1\": %2")
                                    .arg(request.title, request.text)
                                    .toUtf8();
        QTest::qFail(what.constData(), __FILE__, __LINE__);
        Modal::Answer cancelled;
        cancelled.cancelled = true;
        return cancelled;
    }
    Modal::Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

TestEnvironment::TestEnvironment()
{
    QDir(dir.path()).mkpath(QStringLiteral("program"));
    QDir(dir.path()).mkpath(QStringLiteral("data"));
    AppPaths::setProgramFolder(programFolder());
    AppPaths::setDatabaseFolder(databaseFolder());
    Settings::useFile(settingsFile());
}

TestEnvironment::~TestEnvironment()
{
    AppPaths::setProgramFolder(QString());
    AppPaths::setDatabaseFolder(QString());
    Settings::useFile(QString());
}

QString TestEnvironment::programFolder() const
{
    return QDir::toNativeSeparators(dir.filePath(QStringLiteral("program")));
}

QString TestEnvironment::databaseFolder() const
{
    return QDir::toNativeSeparators(dir.filePath(QStringLiteral("data")));
}

QString TestEnvironment::settingsFile() const
{
    return dir.filePath(QStringLiteral("settings.ini"));
}

QString TestEnvironment::path(const QString &name) const
{
    return QDir::toNativeSeparators(dir.filePath(name));
}

QString screenshotFolder()
{
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/screenshots");
    QDir().mkpath(folder);
    return folder;
}

QString needsUserWithoutRoot(const char *why)
{
    return QString::fromUtf8(why)
        + QStringLiteral("; run the tests as a user without root, as .ci/run does: "
                         "runuser -u velmar-tests -- ctest --test-dir build");
}
