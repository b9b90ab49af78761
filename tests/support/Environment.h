#pragma once
// Setting and clearing environment variables in tests, on POSIX and on Windows alike.

#include <cstdlib>
#include <string>

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

}  // namespace testsupport
