#include "tarn/win32/Terminal.h"

#include <unistd.h>

namespace tarn::win32 {

bool IsErrorOutputTerminal() { return ::isatty(STDERR_FILENO) == 1; }

}  // namespace tarn::win32
