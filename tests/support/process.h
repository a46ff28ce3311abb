// Starting another program from a test (the application itself, xvfb-run)
// and waiting for it with a time limit.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace vna::test {

// Starts args[0] (looked up on PATH) with the test's environment, where each
// "NAME=value" of env replaces the variable of that name. Returns the pid, or
// -1 when it could not be started. A cwd that is not empty is its current
// folder.
pid_t StartProcess(const std::vector<std::string>& args, const std::vector<std::string>& env = {},
                   const std::string& cwd = "");

// The exit code when the process ends within the limit (128 + the signal
// when a signal ended it); otherwise kills it and returns -1.
int WaitProcess(pid_t pid, std::chrono::milliseconds limit);

}  // namespace vna::test
