// Child processes for tests that kill, time or isolate what they run.
#pragma once

#include <functional>
#include <sys/types.h>

// Starts `work` in a child process that ends when `work` returns (exit code 0) or throws
// (exit code 1); the child never returns into the test runner.
pid_t StartChild(const std::function<void()> &work);
// The child's exit code, or 128 + signal number when a signal ended it.
int WaitChild(pid_t child);
