// deskleaf: the command-line front end. The commands and their options are command_table's.
#include "deskleaf/command_table.h"
#include "wiring/translations.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>

#include <iostream>
#include <memory>
#include <string_view>
#include <vector>

using namespace deskleaf::cli;

namespace {

// Text needs a GUI application for its fonts. Where nothing is shown (no display, a size
// given, or a command that shows nothing) the offscreen platform serves. Every command gets
// at least a core application, before its words are parsed: the translation of its messages,
// usage errors included, is installed on it.
std::unique_ptr<QCoreApplication>
application(const Command& command, std::span<const std::string_view> words, int& argc, char** argv)
{
    const bool display =
        qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
    const auto optionsEnd = std::find(words.begin(), words.end(), "--");
    const auto given = [&](std::string_view option) {
        return std::find(words.begin(), optionsEnd, option) != optionsEnd;
    };
    // The help shows nothing but text.
    const Needs needs = given("--help") || given("-h") ? Needs::CoreApplication : command.needs;
    std::unique_ptr<QCoreApplication> app;
    switch (needs) {
    case Needs::Nothing:
    case Needs::CoreApplication:
        app = std::make_unique<QCoreApplication>(argc, argv);
        break;
    case Needs::Screens:
    case Needs::Offscreen:
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") &&
            (needs == Needs::Offscreen || given("--size") || !display))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
        break;
    }
    deskleaf::installTranslations(*app);
    return app;
}

// A message on one line, however it was written.
std::string oneLine(const char* message)
{
    return QString::fromUtf8(message).simplified().toStdString();
}

int run(const Command& command, std::span<const std::string_view> words, int& argc, char** argv)
{
    const std::string prefix = "deskleaf " + std::string(command.name) + ": ";
    const auto app = application(command, words, argc, argv);
    try {
        bool help = false;
        const Arguments args = parseArguments(command, words, help);
        if (help) {
            std::cout << helpText(command);
            return 0;
        }
        const int status = command.run(args, std::cout, std::cerr);
        std::cout << std::flush;
        return status;
    } catch (const UsageError& e) {
        std::cerr << prefix << e.message << '\n' << synopsisText(command);
        return 2;
    } catch (const std::exception& e) {
        std::cerr << prefix << oneLine(e.what()) << '\n';
        return 1;
    }
}

} // namespace

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        QCoreApplication app(argc, argv);
        deskleaf::installTranslations(app);
        (args.empty() ? std::cerr : std::cout) << usageText();
        return args.empty() ? 2 : 0;
    }
    if (args[0] == "--version") {
        std::cout << "deskleaf " DESKLEAF_VERSION "\n";
        return 0;
    }
    // Not in the usage: the build writes the installed bash completion with it.
    if (args[0] == "--bash-completion") {
        std::cout << bashCompletion();
        return 0;
    }
    if (const Command* command = findCommand(args[0]))
        return run(*command, std::span(args).subspan(1), argc, argv);
    QCoreApplication app(argc, argv);
    deskleaf::installTranslations(app);
    std::cerr << "deskleaf: "
              << QCoreApplication::translate("deskleaf", "unknown command \"%1\"")
                     .arg(QString::fromLocal8Bit(args[0]))
                     .toStdString()
              << '\n'
              << usageText();
    return 2;
}
