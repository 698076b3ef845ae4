// Child processes for tests that kill, time or isolate what they run.
#pragma once

#include <functional>
#include <random>
#include <sys/types.h>

// Starts `work` in a child process that ends when `work` returns (exit code 0) or throws
// (exit code 1); the child never returns into the test runner.
pid_t StartChild(const std::function<void()> &work);
// The child's exit code, or 128 + signal number when a signal ended it.
int WaitChild(pid_t child);

// Runs `write(n)` for n = first, first + 1, ... in a child that reports each finished write,
// and kills the child at a random moment of a write after its second one has finished, so a
// kill lands in the middle of a write whatever this machine's speed. The number of writes that
// finished; -1 when the child did not write or did not die by the kill.
int KillDuringWrites(int first, const std::function<void(int n)> &write, std::mt19937 &random);
