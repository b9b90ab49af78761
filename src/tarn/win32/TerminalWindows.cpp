#include "tarn/win32/WindowsApi.h"

#include "tarn/win32/Terminal.h"

namespace tarn::win32 {

bool IsErrorOutputTerminal() {
    // A window program normally has no standard error at all; redirected, it is a file or a
    // pipe. A console is a character device whose mode can be read (NUL is one without).
    const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    if (error == nullptr || error == INVALID_HANDLE_VALUE) return false;
    DWORD mode = 0;
    return ::GetFileType(error) == FILE_TYPE_CHAR && ::GetConsoleMode(error, &mode) != 0;
}

}  // namespace tarn::win32
