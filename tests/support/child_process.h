// Running a piece of a test in a child process: a second program working on
// the same folder, a process with a capped file size, or a call that must
// not hang (the child is killed when it overruns its time).
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>

namespace tl::test {

// Starts `body` in a child process, which ends with `body`'s result as its
// exit status.
template <typename Body>
pid_t StartChild(Body body) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    return pid;
}

// The exit status of child `pid`; nothing when it was killed by a signal or
// did not end within `timeout` (it is then killed).
inline std::optional<int> WaitChild(pid_t pid, std::chrono::milliseconds timeout) {
    if (pid < 0) return std::nullopt;
    const auto end = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    pid_t done;
    while ((done = ::waitpid(pid, &status, WNOHANG)) == 0) {
        if (std::chrono::steady_clock::now() > end) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (done < 0 || !WIFEXITED(status)) return std::nullopt;
    return WEXITSTATUS(status);
}

template <typename Body>
std::optional<int> RunInChild(Body body, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    return WaitChild(StartChild(body), timeout);
}

}  // namespace tl::test
