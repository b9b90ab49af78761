// The running Windows version. GetVersionExW lies to programs without a manifest, so the
// kernel's own RtlGetVersion is asked.

#include "tarn/win32/WindowsApi.h"

#include "tarn/win32/VersionText.h"

namespace tarn::win32 {

namespace {

using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);

}  // namespace

std::wstring LocalVersionText() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    const auto rtlGetVersion = ntdll ? reinterpret_cast<RtlGetVersionFunction>(
                                           reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetVersion")))
                                     : nullptr;
    if (!rtlGetVersion || rtlGetVersion(&info) != 0) return L"unknown system";
    return WindowsVersionText(info.dwPlatformId == VER_PLATFORM_WIN32_NT, info.dwMajorVersion,
                              info.dwMinorVersion, info.szCSDVersion);
}

}  // namespace tarn::win32
