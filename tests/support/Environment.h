#pragma once
// Setting and clearing environment variables in tests, on POSIX and on Windows alike, and
// telling Wine from Windows.

#include <cstdlib>
#include <string>

#ifdef _WIN32
#include "tarn/win32/WindowsApi.h"
#endif

namespace testsupport {

inline void SetEnvironment(const std::string& name, const std::string& value) {
#ifdef _WIN32
    ::_putenv_s(name.c_str(), value.c_str());
#else
    ::setenv(name.c_str(), value.c_str(), 1);
#endif
}

inline void ClearEnvironment(const std::string& name) {
#ifdef _WIN32
    ::_putenv_s(name.c_str(), "");  // an empty value removes it
#else
    ::unsetenv(name.c_str());
#endif
}

// True when a Windows build runs under Wine, whose GDI+ draws some exact pixels differently.
inline bool RunsUnderWine() {
#ifdef _WIN32
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
#else
    return false;
#endif
}

}  // namespace testsupport
