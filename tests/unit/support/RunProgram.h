#pragma once
// Runs one of the project's programs (from the folder of the running test) and collects what it printed.

#include <string>
#include <vector>

namespace ombrel::test {

struct ProgramResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs bin/<program> with `args`, no standard input, and waits for it (at most `timeoutSeconds`).
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args, int timeoutSeconds = 60);

} // namespace ombrel::test
