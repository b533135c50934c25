// posix_spawn rather than QProcess: it needs no event loop in the calling thread, and sockets
// instead of pipes let a write to a helper that has died fail instead of raising SIGPIPE.
#include "pictures/PictureHelper.h"

#include "pictures/PictureLimits.h"
#include "pictures/PictureReply.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

// A file descriptor closed when it goes out of scope.
class Descriptor
{
public:
    Descriptor() = default;
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    ~Descriptor() { reset(); }
    void reset(int newFd = -1)
    {
        if (fd >= 0)
            ::close(fd);
        fd = newFd;
    }
    int get() const { return fd; }
    bool valid() const { return fd >= 0; }

private:
    int fd = -1;
};

struct SocketPair
{
    Descriptor ours;
    Descriptor theirs;

    bool open()
    {
        int fds[2];
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0)
            return false;
        ours.reset(fds[0]);
        theirs.reset(fds[1]);
        return fcntl(fds[0], F_SETFL, fcntl(fds[0], F_GETFL) | O_NONBLOCK) == 0;
    }
};

// Feeds DATA to the helper and reads its answer until it ends its output, fails or the time is
// up; true when the output ended.
bool exchange(Descriptor &input, const Descriptor &output, const QByteArray &data,
              PictureReplyReader &reader, const QDeadlineTimer &deadline)
{
    qint64 sent = 0;
    std::vector<char> buffer(1 << 16);
    for (;;) {
        // Closing the input tells the helper that the data is complete.
        if (input.valid() && sent == data.size())
            input.reset();
        const qint64 left = deadline.remainingTime();
        if (left == 0)
            return false;
        pollfd watch[2] = {{output.get(), POLLIN, 0}, {input.get(), POLLOUT, 0}};
        const int ready = poll(watch, 2, int(std::min<qint64>(left, 1000)));
        if (ready < 0 && errno != EINTR)
            return false;
        if (ready <= 0)
            continue;
        if (input.valid() && (watch[1].revents & (POLLOUT | POLLERR | POLLHUP))) {
            const ssize_t written = send(input.get(), data.constData() + sent,
                                         size_t(data.size() - sent), MSG_NOSIGNAL | MSG_DONTWAIT);
            if (written > 0)
                sent += written;
            else if (written < 0 && errno != EAGAIN && errno != EINTR)
                input.reset(); // the helper stopped reading; its answer says why
        }
        if (watch[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            const ssize_t got = recv(output.get(), buffer.data(), buffer.size(), MSG_DONTWAIT);
            if (got == 0)
                return true;
            if (got < 0 && errno != EAGAIN && errno != EINTR)
                return false;
            if (got > 0 && !reader.take(buffer.data(), got))
                return false;
        }
    }
}

// The helper's exit status once it has ended by itself before the deadline; it is killed
// otherwise. Either way it is reaped.
bool exitedCleanly(pid_t pid, const QDeadlineTimer &deadline)
{
    int status = 0;
    for (;;) {
        const pid_t ended = waitpid(pid, &status, WNOHANG);
        if (ended == pid) {
            if (PictureLimits::underSanitizers && WIFEXITED(status)
                && WEXITSTATUS(status) == PictureLimits::sanitizerFaultStatus)
                qFatal("velmar-picture: the sanitizers found a fault (their report is above)");
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
        if (ended < 0 && errno != EINTR)
            return false;
        if (deadline.hasExpired())
            break;
        usleep(1000);
    }
    kill(pid, SIGKILL);
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    return false;
}

} // namespace

namespace PictureHelper {

QString path()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/velmar-picture");
}

std::optional<DecodedPicture> decode(const QByteArray &data, const char *kind,
                                     double twipsPerPixelX, double twipsPerPixelY)
{
    const QByteArray program = QFile::encodeName(path());
    const QByteArray x = QByteArray::number(twipsPerPixelX, 'g', 17);
    const QByteArray y = QByteArray::number(twipsPerPixelY, 'g', 17);
    QByteArray kindArgument(kind);
    char *argv[] = {const_cast<char *>(program.constData()), kindArgument.data(),
                    const_cast<char *>(x.constData()), const_cast<char *>(y.constData()), nullptr};

    SocketPair input;
    SocketPair output;
    if (!input.open() || !output.open())
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input.theirs.get(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output.theirs.get(), STDOUT_FILENO);
    // Under the sanitizers their report on the helper shows with the program's own.
    if (!PictureLimits::underSanitizers)
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.constData(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    input.theirs.reset();
    output.theirs.reset();
    if (spawned != 0)
        return std::nullopt;

    PictureReplyReader reader;
    const QDeadlineTimer deadline(PictureLimits::helperWaitMilliseconds);
    const bool answered = exchange(input.ours, output.ours, data, reader, deadline);
    // A helper that failed is ended at once; one that answered gets the rest of its time.
    const bool clean = exitedCleanly(pid, answered ? deadline : QDeadlineTimer(0));
    if (!answered || !clean)
        return std::nullopt;
    return reader.picture();
}

} // namespace PictureHelper
