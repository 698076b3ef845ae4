#include "Processes.h"

#include <chrono>
#include <csignal>
#include <poll.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

pid_t StartChild(const std::function<void()> &work) {
    const pid_t child = fork();
    if (child == 0) {
        int code = 0;
        try {
            work();
        } catch (...) {
            code = 1;
        }
        _exit(code);
    }
    return child;
}

int WaitChild(pid_t child) {
    int status = 0;
    if (waitpid(child, &status, 0) != child)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int KillDuringWrites(int first, const std::function<void(int n)> &write, std::mt19937 &random) {
    int reports[2];
    if (pipe(reports) != 0)
        return -1;
    const pid_t writer = StartChild([&] {
        close(reports[0]);
        for (int n = first;; ++n) {
            write(n);
            if (::write(reports[1], "w", 1) != 1)
                throw std::runtime_error("parent gone");
        }
    });
    close(reports[1]);
    if (writer <= 0)
        return -1;
    int finished = 0;
    const auto awaitWrite = [&] {
        pollfd ready{reports[0], POLLIN, 0};
        char byte;
        if (poll(&ready, 1, 10000) == 1 && read(reports[0], &byte, 1) == 1)
            ++finished;
    };
    awaitWrite();
    const auto started = std::chrono::steady_clock::now();
    awaitWrite();
    const auto oneWrite = std::chrono::steady_clock::now() - started;
    std::uniform_int_distribution<long long> moment(0, oneWrite.count());
    std::this_thread::sleep_for(decltype(oneWrite)(moment(random)));
    kill(writer, SIGKILL);
    const bool killed = WaitChild(writer) == 128 + SIGKILL;
    char drained[64];
    for (ssize_t got; (got = read(reports[0], drained, sizeof drained)) > 0;)
        finished += int(got);
    close(reports[0]);
    return killed && finished >= 2 ? finished : -1;
}
