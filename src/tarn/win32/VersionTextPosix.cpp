// The running system's name and release, as uname reports them.

#include <sys/utsname.h>

#include "tarn/Text.h"
#include "tarn/win32/VersionText.h"

namespace tarn::win32 {

std::wstring LocalVersionText() {
    utsname name{};
    if (uname(&name) != 0) return L"unknown system";
    return FromUtf8(name.sysname) + L" " + FromUtf8(name.release);
}

}  // namespace tarn::win32
