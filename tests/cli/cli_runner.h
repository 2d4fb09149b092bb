// Runs the real deskleaf binary with a shell-quoted argument string.
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

inline CliResult runDeskleaf(const std::string& args, const std::string& environment = "")
{
    // Each call has its own file: CTest runs the tests in parallel.
    std::string errFile = ::testing::TempDir() + "deskleaf_cli_err_XXXXXX";
    const int fd = mkstemp(errFile.data());
    if (fd < 0)
        return {-1, {}, {}};
    close(fd);
    const std::string command =
        environment + " '" + DESKLEAF_CLI + "' " + args + " 2>'" + errFile + "'";
    FILE* pipe = popen(command.c_str(), "r");
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
