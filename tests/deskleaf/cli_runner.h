// Runs the real deskleaf binary with a shell-quoted argument string, or any shell command.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

struct CliResult {
    int status;
    std::string out;
    std::string err;
};

// Runs a shell command, its standard error kept apart from its output.
inline CliResult runShell(const std::string& command)
{
    // Each call has its own file: CTest runs the tests in parallel.
    std::string errFile = ::testing::TempDir() + "deskleaf_cli_err_XXXXXX";
    const int fd = mkstemp(errFile.data());
    if (fd < 0)
        return {-1, {}, {}};
    close(fd);
    FILE* pipe = popen((command + " 2>'" + errFile + "'").c_str(), "r");
    if (!pipe)
        return {-1, {}, {}};
    CliResult result{};
    char buffer[1 << 16];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.out.append(buffer, n);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errFile);
    result.err.assign(std::istreambuf_iterator<char>(err), {});
    std::remove(errFile.c_str());
    return result;
}

inline CliResult runDeskleaf(const std::string& args, const std::string& environment = "")
{
    return runShell(environment + " '" + DESKLEAF_CLI + "' " + args);
}
