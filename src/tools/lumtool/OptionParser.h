#pragma once
// The command line of one lumtool command: flags, options with a value and the names it
// takes, read one way for every command so that each refuses bad input in the same words.

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lumtool {

// --help or -h among the arguments: the command shows its help instead of running.
class CHelpRequest : public std::exception {
public:
    const char* what() const noexcept override { return "help asked for"; }
};

// How an option with a value may be used; the rules combine with |.
enum EValueRule : unsigned {
    kValueOptional = 0,
    kValueRequired = 1u << 0,  // the command does not run without the option
    kValueNotEmpty = 1u << 1,  // an empty value ("") counts as a missing one
};

class COptionParser {
public:
    // command names the command in the messages ("check", "langpack build").
    explicit COptionParser(std::string command);

    // An option without a value, such as --strict.
    COptionParser& Flag(std::vector<std::string> names, bool& target);
    // An option whose value is the next argument, whatever it looks like ("-o -v" writes to
    // "-v"); given again, the later value wins. value names the value in messages (FILE).
    COptionParser& Value(std::vector<std::string> names, std::string value, std::string& target,
                         unsigned rules = kValueOptional);
    COptionParser& Value(std::vector<std::string> names, std::string value,
                         std::optional<std::string>& target, unsigned rules = kValueOptional);
    // For a value that the command converts or checks as it comes.
    COptionParser& Value(std::vector<std::string> names, std::string value,
                         std::function<void(const std::string&)> take,
                         unsigned rules = kValueOptional);
    // The next name that is not an option, in the order declared; required unless declared
    // optional, and optional ones follow the required. An empty name counts as a missing
    // one. hint follows the name in the message that it is missing.
    COptionParser& Positional(std::string name, std::string& target, std::string hint = {});
    COptionParser& OptionalPositional(std::string name, std::string& target);

    // Reads the arguments into the targets. Throws CHelpRequest when help is asked for and
    // CUsageError for an unknown option, a missing value, or too few or too many names.
    void Parse(const std::vector<std::string>& arguments) const;

    // True when an argument before a "--" asks for help, wherever it stands: what lumtool
    // answers before it starts a command.
    static bool AsksForHelp(const std::vector<std::string>& arguments);

private:
    struct SOption {
        std::vector<std::string> names;
        std::string value;  // empty for a flag
        std::function<void(const std::string&)> take;
        unsigned rules = kValueOptional;
    };
    struct SPositional {
        std::string name;
        std::string* target;
        std::string hint;
        bool required;
    };

    const SOption* Find(const std::string& name) const;
    [[noreturn]] void Refuse(const std::string& text) const;
    [[noreturn]] void RefuseMissing(const SPositional& missing) const;

    std::string m_command;
    std::vector<SOption> m_options;
    std::vector<SPositional> m_positionals;
};

}  // namespace lumtool
