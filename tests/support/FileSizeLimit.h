// A full disk for the test process: no file it writes may grow beyond the limit while this
// lives. A write past the limit fails as it would on a full disk instead of ending the process.
// And a process that ends at once, as on a crash or a kill, when a write goes past the limit, or
// one that waits there, as on a drive that stops answering.
#pragma once

#include <QRandomGenerator>
#include <csignal>
#include <functional>
#include <optional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

class FileSizeLimit
{
public:
    // With `afterwards`, a disk failing further: once a write has gone past `bytes`, no write may
    // go past `afterwards`.
    explicit FileSizeLimit(rlim_t bytes, std::optional<rlim_t> afterwards = std::nullopt)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved);
        if (afterwards) {
            shrunk = *afterwards;
            previousHandler = std::signal(SIGXFSZ, [](int) {
                rlimit limit {};
                ::getrlimit(RLIMIT_FSIZE, &limit);
                limit.rlim_cur = shrunk;
                ::setrlimit(RLIMIT_FSIZE, &limit);
            });
        } else {
            previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        }
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    static inline rlim_t shrunk = 0;
    rlimit saved {};
    void (*previousHandler)(int) = nullptr;
};

// In the parent of a child process just forked: the random numbers the child draws for its
// temporary names are passed over, so that neither this process nor its next child draws them.
inline void passOverChildsNumbers()
{
    constexpr unsigned long long drawnByChild = 1024;
    QRandomGenerator::global()->discard(drawnByChild);
}

// In a child process just forked: no file may grow beyond `bytes`.
inline void limitChild(rlim_t bytes)
{
    rlimit limit {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

// Runs `write` in a child process whose files may not grow beyond `bytes` and which ends on the
// spot when a write goes past that, the rest of the write undone. True when it ended so.
inline bool endsWhileWriting(rlim_t bytes, const std::function<void()> &write)
{
    constexpr int endedWriting = 86;
    const pid_t child = ::fork();
    if (child == 0) {
        // Ended by our own handler rather than the signal's default, which would leave a core.
        std::signal(SIGXFSZ, [](int) { ::_exit(endedWriting); });
        limitChild(bytes);
        write();
        ::_exit(0);
    }
    passOverChildsNumbers();
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == endedWriting;
}

// Runs `write` in a child process whose files may not grow beyond `bytes` and which waits when a
// write goes past that, holding what it holds, until this goes and ends it as a kill would.
class WriteHeldAtLimit
{
public:
    WriteHeldAtLimit(rlim_t bytes, const std::function<void()> &write)
    {
        int signal[2] = {-1, -1};
        if (::pipe(signal) != 0)
            return;
        child = ::fork();
        if (child == 0) {
            ::close(signal[0]);
            reached = signal[1];
            std::signal(SIGXFSZ, [](int) {
                const char held = 1;
                if (::write(reached, &held, 1) == 1) {
                    for (;;)
                        ::pause();
                }
            });
            limitChild(bytes);
            write();
            ::_exit(0);
        }
        passOverChildsNumbers();
        ::close(signal[1]);
        char held = 0;
        // Nothing to read when the child ended without reaching the limit.
        isHeld = child > 0 && ::read(signal[0], &held, 1) == 1;
        ::close(signal[0]);
    }
    ~WriteHeldAtLimit() { end(); }
    WriteHeldAtLimit(const WriteHeldAtLimit &) = delete;
    WriteHeldAtLimit &operator=(const WriteHeldAtLimit &) = delete;

    bool held() const { return isHeld; }
    void end()
    {
        if (child <= 0)
            return;
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        child = -1;
    }

private:
    static inline int reached = -1;
    pid_t child = -1;
    bool isHeld = false;
};
