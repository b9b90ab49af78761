#include "OptionParser.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "Command.h"

namespace lumtool {

namespace {

constexpr const char* kEndOfOptions = "--";

bool IsHelp(const std::string& argument) { return argument == "--help" || argument == "-h"; }

// A lone "-" is a name (as tools read it), not an option.
bool LooksLikeOption(const std::string& argument) {
    return argument.size() > 1 && argument[0] == '-';
}

}  // namespace

COptionParser::COptionParser(std::string command) : m_command(std::move(command)) {}

COptionParser& COptionParser::Flag(std::vector<std::string> names, bool& target) {
    m_options.push_back({std::move(names), {}, [&target](const std::string&) { target = true; }});
    return *this;
}

COptionParser& COptionParser::Value(std::vector<std::string> names, std::string value,
                                    std::string& target, unsigned rules) {
    return Value(
        std::move(names), std::move(value), [&target](const std::string& text) { target = text; },
        rules);
}

COptionParser& COptionParser::Value(std::vector<std::string> names, std::string value,
                                    std::optional<std::string>& target, unsigned rules) {
    return Value(
        std::move(names), std::move(value), [&target](const std::string& text) { target = text; },
        rules);
}

COptionParser& COptionParser::Value(std::vector<std::string> names, std::string value,
                                    std::function<void(const std::string&)> take, unsigned rules) {
    if (value.empty()) throw std::logic_error("an option with a value needs the value's name");
    m_options.push_back({std::move(names), std::move(value), std::move(take), rules});
    return *this;
}

COptionParser& COptionParser::Positional(std::string name, std::string& target, std::string hint) {
    if (!m_positionals.empty() && !m_positionals.back().required) {
        throw std::logic_error("a required name cannot follow an optional one");
    }
    m_positionals.push_back({std::move(name), &target, std::move(hint), true});
    return *this;
}

COptionParser& COptionParser::OptionalPositional(std::string name, std::string& target) {
    m_positionals.push_back({std::move(name), &target, {}, false});
    return *this;
}

const COptionParser::SOption* COptionParser::Find(const std::string& name) const {
    for (const SOption& option : m_options) {
        if (std::find(option.names.begin(), option.names.end(), name) != option.names.end()) {
            return &option;
        }
    }
    return nullptr;
}

void COptionParser::Refuse(const std::string& text) const {
    throw CUsageError(m_command + ": " + text);
}

void COptionParser::RefuseMissing(const SPositional& missing) const {
    Refuse("no " + missing.name + " given" +
           (missing.hint.empty() ? "" : " (" + missing.hint + ")"));
}

void COptionParser::Parse(const std::vector<std::string>& arguments) const {
    if (AsksForHelp(arguments)) throw CHelpRequest();
    std::vector<const SOption*> given;
    std::size_t names = 0;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!optionsEnded && argument == kEndOfOptions) {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && LooksLikeOption(argument)) {
            // Only after a value that is "--" can help stand here unseen by AsksForHelp.
            if (IsHelp(argument)) throw CHelpRequest();
            const SOption* option = Find(argument);
            if (!option) Refuse("unknown option '" + argument + "'");
            if (option->value.empty()) {
                option->take(argument);
            } else {
                if (i + 1 >= arguments.size() ||
                    ((option->rules & kValueNotEmpty) && arguments[i + 1].empty())) {
                    Refuse(argument + " needs a value");
                }
                option->take(arguments[++i]);
            }
            given.push_back(option);
            continue;
        }
        if (names >= m_positionals.size()) Refuse("'" + argument + "' is one argument too many");
        // An empty name names nothing: never the current folder by accident.
        if (argument.empty()) RefuseMissing(m_positionals[names]);
        *m_positionals[names++].target = argument;
    }
    for (std::size_t i = names; i < m_positionals.size(); ++i) {
        if (!m_positionals[i].required) break;
        RefuseMissing(m_positionals[i]);
    }
    for (const SOption& option : m_options) {
        if ((option.rules & kValueRequired) &&
            std::find(given.begin(), given.end(), &option) == given.end()) {
            Refuse("no " + option.names.front() + " " + option.value + " given");
        }
    }
}

bool COptionParser::AsksForHelp(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == kEndOfOptions) return false;
        if (IsHelp(argument)) return true;
    }
    return false;
}

}  // namespace lumtool
