// The command line's one table: every command with its synopsis, summary, options and
// handler. The option parser, `deskleaf --help`, each command's --help, the man page (made from
// --help) and the bash completion are all read from it.
#pragma once

#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace deskleaf::cli {

// Bad usage: exit status 2 with the command's synopsis.
struct UsageError {
    std::string message;
};

struct Option {
    std::string_view name;  // "--folder"
    std::string_view value; // what it takes, as the synopsis names it ("DIR"); empty: a flag
    std::string_view help;  // one line in the command's --help
};

// A command's arguments, parsed by its table entry.
struct Arguments {
    std::vector<std::string_view> words;                                // the operands, in order
    std::vector<std::pair<std::string_view, std::string_view>> options; // name, value (or empty)

    bool has(std::string_view option) const;
    // The value the option was last given; nothing when it was not given.
    std::optional<std::string_view> value(std::string_view option) const;
};

// What a command needs of Qt before it runs.
enum class Needs {
    Nothing,
    CoreApplication,
    Offscreen, // a QGuiApplication that shows nothing
    Screens,   // a QGuiApplication on the display, when there is one and no --size is given
};

struct Command {
    std::string_view name;
    std::string_view synopsis;   // one line a form, each starting "deskleaf NAME"
    std::string_view summary;    // its lines in `deskleaf --help`
    std::string_view help;       // what its --help says after the synopsis; the summary when empty
    std::vector<Option> options; // besides --help; the operands are the synopsis's
    Needs needs;
    // Returns the exit status; throws UsageError for bad usage, any other exception for a
    // failure, which is said on one line.
    int (*run)(const Arguments& args, std::ostream& out, std::ostream& err);
};

std::span<const Command> commands();
// The command of that name ("color" is colour); nothing when there is none.
const Command* findCommand(std::string_view name);

// Options are the row's; "--" ends them, so that an operand may start with a dash, and a
// negative number (a system colour) is an operand. --help and -h set help, and then the
// operands are not counted. Throws UsageError.
Arguments parseArguments(const Command& command, std::span<const std::string_view> args,
                         bool& help);

// `deskleaf --help`: every synopsis, every summary, the exit statuses.
std::string usageText();
// "usage: " (in the user's language) and the synopsis's lines, its words as they are.
std::string synopsisText(const Command& command);
// The command's --help: synopsis, what it does, its options; in the user's language where
// main installed its translation, its synopsis and option words as they are.
std::string helpText(const Command& command);
// The bash completion script, written from the table at build time.
std::string bashCompletion();

// The pieces of text between the separators: "on|off" is "on" and "off".
std::vector<std::string_view> split(std::string_view text, char separator);
// The operands of each form of the synopsis, as it writes them ("FROM", "[TO]"), its options
// and their values left out.
std::vector<std::vector<std::string_view>> synopsisOperands(const Command& command);

} // namespace deskleaf::cli
