#pragma once
// The names of Windows releases, kept so that version reports read as they always have.

#include <string>

namespace tarn::win32 {

std::wstring WindowsVersionText(bool ntBased, unsigned major, unsigned minor,
                                const std::wstring& servicePack);

// This system's own text, for example "Linux 6.1.0-13-amd64".
std::wstring LocalVersionText();

}  // namespace tarn::win32
