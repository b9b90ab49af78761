#include "tarn/win32/VersionText.h"

#include "tarn/Text.h"

namespace tarn::win32 {

namespace {

std::wstring NamedRelease(bool ntBased, unsigned major, unsigned minor) {
    if (!ntBased && major == 4) {
        if (minor == 0) return L"Windows 95";
        if (minor == 10) return L"Windows 98";
        if (minor == 90) return L"Windows ME";
    }
    if (ntBased) {
        switch (major) {
            case 3: return L"Windows NT 3.51";
            case 4: return L"Windows NT 4.0";
            case 5:
                if (minor == 0) return L"Windows 2000";
                if (minor == 1) return L"Windows XP";
                if (minor == 2) return L"Windows 2003 Server";
                break;
            case 6: return minor == 1 ? L"Windows 7" : L"Windows Vista";
            default: break;
        }
    }
    return (ntBased ? L"Windows NT " : L"Windows ") + std::to_wstring(major) + L"." +
           std::to_wstring(minor);
}

}  // namespace

std::wstring WindowsVersionText(bool ntBased, unsigned major, unsigned minor,
                                const std::wstring& servicePack) {
    std::wstring text = NamedRelease(ntBased, major, minor);
    if (!servicePack.empty()) text += L" " + servicePack;
    return text;
}

}  // namespace tarn::win32
