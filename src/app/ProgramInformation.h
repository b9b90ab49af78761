#pragma once
// What the player answers to "--help" and "--version": the answer comes before any menu is
// looked for (and before the toolkit looks for a display).

#include <optional>
#include <string>
#include <vector>

// "lumplayer 0.1.0": the project's version.
std::string ProgramVersionText();
// The command line and its options, one line each, for a terminal.
std::string ProgramUsageText();
// The text to print (on standard output) when the first argument after the program's name
// asks for help or the version; none otherwise, for a content file or no argument.
std::optional<std::string> ProgramInformationAsked(const std::vector<std::wstring>& arguments);
