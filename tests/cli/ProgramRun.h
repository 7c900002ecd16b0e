#pragma once
// Runs the real karvel program in a folder and captures what it prints.

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace karvel::testing {

struct ProgramResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

// `environment` is a list of NAME=VALUE; the input is `input` (closed when empty).
inline ProgramResult RunProgram(const std::string& program,
                                const std::vector<std::string>& arguments,
                                const std::string& folder,
                                const std::vector<std::string>& environment,
                                const std::string& input = {}) {
    const std::string capture = folder + ".karvel-capture-";
    std::ofstream(capture + "in", std::ios::binary) << input;
    // Runs keep their journal in the test's folder, never in the user's.
    std::string command = "cd " + ShellQuoted(folder) + " && env TZ=JST-9 " +
                          ShellQuoted("XDG_STATE_HOME=" + folder + "state");
    for (const auto& setting : environment) command += " " + ShellQuoted(setting);
    command += " " + ShellQuoted(program);
    for (const auto& argument : arguments) command += " " + ShellQuoted(argument);
    command += " <" + ShellQuoted(capture + "in") + " >" + ShellQuoted(capture + "out") + " 2>" +
               ShellQuoted(capture + "err");
    const int raw = std::system(command.c_str());
    ProgramResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = ReadAll(capture + "out");
    result.err = ReadAll(capture + "err");
    for (const char* part : {"in", "out", "err"}) std::remove((capture + part).c_str());
    return result;
}

}  // namespace karvel::testing
