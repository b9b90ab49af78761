#pragma once
// The parameters of a run-file action are one string, as Windows hands them to a program;
// where programs take a list of arguments instead, the string is split as Windows programs
// split their own command line, so that a menu passes the same arguments on either system.

#include <string>
#include <vector>

namespace tarn::win32 {

// Splits text by the rules of CommandLineToArgvW: blanks and tabs separate arguments; a
// double quote starts or ends a quoted part, in which blanks are kept; "" inside a quoted part
// is a quote; 2n backslashes before a quote become n and the quote counts, 2n+1 become n and
// a literal quote; other backslashes stay as they are.
std::vector<std::wstring> SplitWindowsArguments(const std::wstring& text);

}  // namespace tarn::win32
