// Loading a file off the window's thread while the window stays served.
#include "text/TextFileLoad.h"

#include "platform/Screen.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QThread>
#include <algorithm>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace TextFileLoad {

namespace {

// What is read at once: the file's bytes and their text stay a few megabytes beside the
// document, whatever the file's size.
constexpr qint64 PieceBytes = 4 * 1024 * 1024;

// Keeps every window open while it lives: a window closed during the wait would take the
// window being loaded, or the program, away under the load.
class CloseHold : public QObject
{
public:
    CloseHold() { QCoreApplication::instance()->installEventFilter(this); }
    ~CloseHold() override { QCoreApplication::instance()->removeEventFilter(this); }
    CloseHold(const CloseHold &) = delete;
    CloseHold &operator=(const CloseHold &) = delete;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::Close)
            return false;
        event->ignore();
        return true;
    }
};

} // namespace

Opening open(QFile &file)
{
    const QByteArray name = QFile::encodeName(file.fileName());
    struct stat status
    {
    };
    if (::stat(name.constData(), &status) != 0)
        return Opening::Unreadable;
    if (!S_ISREG(status.st_mode))
        return Opening::NotRegularFile;
    if (status.st_size > MaxFileBytes)
        return Opening::TooLarge;
    // Asked again of what was opened, which may have taken the file's place since; without
    // waiting, which a pipe would do for a writer. A regular file reads the same either way.
    const int descriptor = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return Opening::Unreadable;
    Opening opening = Opening::Opened;
    if (::fstat(descriptor, &status) != 0)
        opening = Opening::Unreadable;
    else if (!S_ISREG(status.st_mode))
        opening = Opening::NotRegularFile;
    else if (status.st_size > MaxFileBytes)
        opening = Opening::TooLarge;
    else if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        opening = Opening::Unreadable;
    if (opening != Opening::Opened)
        ::close(descriptor);
    return opening;
}

std::optional<QByteArray> LimitedRead::next()
{
    QByteArray piece = file.read(std::min(PieceBytes, MaxFileBytes - file.pos()));
    if (file.error() != QFileDevice::NoError || pastLimit(file))
        return std::nullopt;
    ended = piece.isEmpty();
    return piece;
}

bool LimitedRead::atEnd() const
{
    return ended || file.atEnd() || file.pos() >= MaxFileBytes;
}

std::optional<QByteArray> readWhole(QFile &file)
{
    QByteArray bytes;
    for (LimitedRead reading(file); !reading.atEnd();) {
        const std::optional<QByteArray> piece = reading.next();
        if (!piece)
            return std::nullopt;
        bytes += *piece;
    }
    return bytes;
}

bool pastLimit(const QFile &file)
{
    return file.size() > MaxFileBytes;
}

void whileServed(QObject &object, const std::function<void()> &work)
{
    const int pointer = Screen::MousePointer();
    Screen::setMousePointer(Screen::vbHourglass);
    QThread *home = QThread::currentThread();
    const std::unique_ptr<QThread> thread(QThread::create([&] {
        work();
        object.moveToThread(home);
    }));
    object.moveToThread(thread.get());
    const CloseHold hold;
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    // The loop also ends when the program quits; the work still finishes first.
    thread->wait();
    Screen::setMousePointer(pointer);
}

} // namespace TextFileLoad
