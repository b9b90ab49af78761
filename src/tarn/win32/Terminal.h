#pragma once
// Whether someone reads what the program writes to its standard error.

namespace tarn::win32 {

// True when standard error is a terminal (or on Windows a console), as when the program was
// started from a shell; false when it goes to a file, a pipe or nowhere, as when a file
// manager or an autorun started it.
bool IsErrorOutputTerminal();

}  // namespace tarn::win32
