#include "Processes.h"

#include <sys/wait.h>
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
