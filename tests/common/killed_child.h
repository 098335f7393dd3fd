#pragma once

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs `work` in a child process that the kernel kills (SIGXFSZ) the moment
// it writes a file beyond `bytes`: a real kill in the middle of a write, at
// a point the test chooses by the size of what is written. Returns true when
// the child died that way.
inline bool RunKilledAtFileSize(rlim_t bytes, const std::function<void()> &work) {
    const pid_t pid = ::fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        rlimit size{};
        ::getrlimit(RLIMIT_FSIZE, &size);
        size.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &size);
        try {
            work();
        } catch (...) {
        }
        ::_exit(0);
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid)
        return false;
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ;
}
