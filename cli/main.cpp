// deskleaf: the command-line front end.
#include "lunar_command.h"

#include <iostream>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kUsage =
    "usage: deskleaf lunar FROM [TO]\n"
    "  lunar   one line per day from FROM to TO (YYYY-MM-DD), tab-separated:\n"
    "          date, weekday (1 = Sunday), lunar year, month, day, leap (0|1),\n"
    "          solar term, lunar festival, weekday festival, lunar day text\n";

} // namespace

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        (args.empty() ? std::cerr : std::cout) << kUsage;
        return args.empty() ? 2 : 0;
    }
    const std::span<const std::string_view> rest(args.begin() + 1, args.end());
    if (args[0] == "lunar")
        return deskleaf::cli::runLunar(rest, std::cout, std::cerr);
    std::cerr << "deskleaf: unknown command \"" << args[0] << "\"\n" << kUsage;
    return 2;
}
