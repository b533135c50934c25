// A full disk for the test process: no file it writes may grow beyond the limit while this
// lives. A write past the limit fails as it would on a full disk instead of ending the process.
// And a process that ends at once, as on a crash or a kill, when a write goes past the limit.
#pragma once

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
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
    rlimit saved {};
    void (*previousHandler)(int) = nullptr;
};

// Runs `write` in a child process whose files may not grow beyond `bytes` and which ends on the
// spot when a write goes past that, the rest of the write undone. True when it ended so.
inline bool endsWhileWriting(rlim_t bytes, const std::function<void()> &write)
{
    constexpr int endedWriting = 86;
    const pid_t child = ::fork();
    if (child == 0) {
        // Ended by our own handler rather than the signal's default, which would leave a core.
        std::signal(SIGXFSZ, [](int) { ::_exit(endedWriting); });
        rlimit limit {};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        write();
        ::_exit(0);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == endedWriting;
}
