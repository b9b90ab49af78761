#include "WindowsMedium.h"

#include <array>
#include <cerrno>
#include <fstream>
#include <system_error>

#include "Command.h"
#include "FileCopy.h"
#include "tarn/Text.h"

namespace lumtool {

namespace fs = std::filesystem;

namespace {

// One line's value: control characters (a line break would start a line of its own) become
// blanks, and the blanks around the value go.
std::string LineValue(const std::string& text) {
    std::string value;
    for (const char c : text) value += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c;
    const std::size_t first = value.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return value.substr(first, value.find_last_not_of(' ') - first + 1);
}

// The product's icon as a path on the medium, with "\"; empty when it names nothing there
// (an absolute path or one that climbs out of the medium).
std::string IconOnMedium(const std::string& iconFile) {
    std::string path = LineValue(iconFile);
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    if (path.empty() || path[0] == '\\' || (path.size() > 1 && path[1] == ':')) return {};
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('\\', start), path.size());
        if (path.compare(start, end - start, "..") == 0) return {};
        start = end + 1;
    }
    return path;
}

// Whether the file starts as a Windows program does ("MZ").
bool IsWindowsProgram(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::array<char, 2> magic{};
    return in.read(magic.data(), magic.size()) && magic[0] == 'M' && magic[1] == 'Z';
}

void WriteUtf16(const fs::path& file, const std::string& text) {
    errno = 0;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.put(static_cast<char>(0xFF)).put(static_cast<char>(0xFE));
    for (const wchar_t c : tarn::FromUtf8(text)) {
        std::uint32_t code = static_cast<std::uint32_t>(c);
        const auto put = [&out](std::uint32_t unit) {
            out.put(static_cast<char>(unit & 0xFF)).put(static_cast<char>(unit >> 8));
        };
        if (code >= 0x10000) {  // wchar_t holds whole code points on Linux
            code -= 0x10000;
            put(0xD800 + (code >> 10));
            put(0xDC00 + (code & 0x3FF));
        } else {
            put(code);
        }
    }
    out.close();
    if (!out) FailOnFile("write", file);
}

}  // namespace

std::string AutorunInf(const std::string& title, const std::string& iconFile) {
    const std::string icon = IconOnMedium(iconFile);
    std::string text = "[autorun]\r\n";
    text += std::string("open=") + kWindowsPlayerName + "\r\n";
    text += "icon=" + (icon.empty() ? std::string(kWindowsPlayerName) + ",0" : icon) + "\r\n";
    const std::string label = LineValue(title);
    if (!label.empty()) text += "label=" + label + "\r\n";
    return text;
}

fs::path FindWindowsPlayer(const std::string& given, const fs::path& programFolder) {
    std::error_code error;
    if (!given.empty()) {
        if (!fs::is_regular_file(given, error)) {
            throw CUsageError("no such Windows player: '" + given + "'");
        }
        if (!IsWindowsProgram(given)) {
            throw CUsageError("'" + given + "' is not a Windows program");
        }
        return given;
    }
    const fs::path beside = programFolder / kWindowsPlayerName;
    if (fs::is_regular_file(beside, error) && IsWindowsProgram(beside)) return beside;
    return {};
}

void WriteWindowsPlayer(const fs::path& player, const fs::path& root, const std::string& title,
                        const std::string& iconFile) {
    CopyFileBytes(player, root / kWindowsPlayerName);
    WriteUtf16(root / "autorun.inf", AutorunInf(title, iconFile));
}

}  // namespace lumtool
