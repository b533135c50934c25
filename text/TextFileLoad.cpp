// Loading a file off the window's thread while the window stays served.
#include "text/TextFileLoad.h"

#include "platform/Screen.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QThread>
#include <memory>

namespace TextFileLoad {

namespace {

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
