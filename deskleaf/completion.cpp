// The bash completion, written from the command table: the commands, each command's options,
// what an option's value is (a folder, a file, one of its words) and the words each operand
// takes, read from the synopsis.
#include "deskleaf/command_table.h"

#include <algorithm>
#include <map>

namespace deskleaf::cli {
namespace {

// The alternatives of "on|off" or "[monday|sunday]".
std::vector<std::string_view> alternatives(std::string_view operand)
{
    if (operand.starts_with('[') && operand.ends_with(']'))
        operand = operand.substr(1, operand.size() - 2);
    return split(operand, '|');
}

bool isWord(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

// What Tab offers for a value or an operand named so: folders, files, its words, or nothing.
std::string offer(std::string_view named)
{
    if (named == "DIR")
        return "COMPREPLY=($(compgen -d -- \"$cur\")); return";
    if (named == "FILE")
        return "COMPREPLY=($(compgen -f -- \"$cur\")); return";
    std::string words;
    for (const std::string_view word : alternatives(named))
        if (isWord(word))
            words += "\\n" + std::string(word);
    return words.empty()
               ? "return"
               : "COMPREPLY=($(compgen -W $'" + words.substr(2) + "' -- \"$cur\")); return";
}

// The word lists an operand adds to the options, by "command count typed-operands".
std::map<std::string, std::string> operandWords(const Command& command)
{
    std::map<std::string, std::string> cases;
    for (const std::vector<std::string_view>& operands : synopsisOperands(command)) {
        std::string before; // the operands before this one, as a pattern
        int count = 0;
        for (const std::string_view word : operands) {
            const std::string key =
                "'" + std::string(command.name) + ' ' + std::to_string(count++) + "'" + before;
            std::string& action = cases[key];
            for (const std::string_view alternative : alternatives(word)) {
                if (alternative == "FILE" || alternative == "DIR")
                    action = offer(alternative);
                else if (isWord(alternative) && !action.starts_with("COMPREPLY"))
                    action += "\\n" + std::string(alternative);
            }
            const bool literal = isWord(word);
            before += literal ? "' " + std::string(word) + "'" : "' '*";
        }
    }
    return cases;
}

// The script, with the table's parts put in at the @NAME@ places.
constexpr std::string_view kScript =
    R"(# bash completion for deskleaf, written by `deskleaf --bash-completion` from its command table
_deskleaf()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local IFS=$'\n' command=${COMP_WORDS[1]/#color/colour} words= typed= i n=0
    if ((COMP_CWORD == 1)); then
        COMPREPLY=($(compgen -W $'@COMMANDS@--help\n--version' -- "$cur"))
        return
    fi
    case "$command $prev" in
@VALUES@    esac
    # The operands before this word: n of them, and what they are.
    for ((i = 2; i < COMP_CWORD; i++)); do
        case "$command ${COMP_WORDS[i]}" in
        @SKIPS@) ((i++)) ;;
        "$command "-[!0-9]*) ;;
        *) typed+=" ${COMP_WORDS[i]}" n=$((n + 1)) ;;
        esac
    done
    case $command in
@OPTIONS@    *) return ;;
    esac
    case "$command $n$typed" in
@OPERANDS@    esac
    COMPREPLY=($(compgen -W "$words" -- "$cur"))
}
complete -o filenames -F _deskleaf deskleaf
)";

void fill(std::string& script, std::string_view place, const std::string& text)
{
    script.replace(script.find(place), place.size(), text);
}

} // namespace

std::string bashCompletion()
{
    std::string names, skips, options, operands;
    std::map<std::string, std::string> values; // the patterns of each offer
    for (const Command& command : commands()) {
        const std::string name(command.name);
        names += name + "\\n";
        std::string list;
        for (const Option& option : command.options) {
            list += std::string(option.name) + "\\n";
            if (option.value.empty())
                continue;
            const std::string pattern = "'" + name + ' ' + std::string(option.name) + "'";
            std::string& patterns = values[offer(option.value)];
            patterns += (patterns.empty() ? "    " : " | \\\n    ") + pattern;
            skips += (skips.empty() ? "" : " | \\\n        ") + pattern;
        }
        options += "    " + name + ") words=$'" + list + "--help' ;;\n";
        for (const auto& [key, action] : operandWords(command))
            if (!action.empty())
                operands +=
                    "    " + key + ") " +
                    (action.starts_with("COMPREPLY") ? action : "words+=$'" + action + "'") +
                    " ;;\n";
    }
    std::string valueCases;
    for (const auto& [action, patterns] : values)
        valueCases += patterns + ")\n        " + action + " ;;\n";
    std::string script(kScript);
    fill(script, "@COMMANDS@", names);
    fill(script, "@VALUES@", valueCases);
    fill(script, "@SKIPS@", skips);
    fill(script, "@OPTIONS@", options);
    fill(script, "@OPERANDS@", operands);
    return script;
}

} // namespace deskleaf::cli
