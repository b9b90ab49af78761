#include "tarn/win32/System.h"

#include <algorithm>

#include "tarn/Singleton.h"
#include "tarn/win32/DiskStreamFactory.h"
#include "tarn/win32/VersionText.h"

namespace tarn::win32 {

namespace {

// The platform comes up with its system object: from then on files open by URI.
P<IWin32System> MakeSystem() {
    CDiskStreamFactory::RegisterWithStreamManager();
    return New<CSystem>();
}

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
bool IsAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// The length of the scheme that text starts with ("https" of "https://..."), or 0.
std::size_t SchemeLength(const std::wstring& text) {
    if (text.empty() || !IsAsciiLetter(text[0])) return 0;
    std::size_t length = 1;
    while (length < text.size() &&
           (IsAsciiLetter(text[length]) || IsAsciiDigit(text[length]) || text[length] == L'+' ||
            text[length] == L'-' || text[length] == L'.')) {
        ++length;
    }
    return length < text.size() && text[length] == L':' ? length : 0;
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return text;
}

}  // namespace

std::wstring CSystem::WebsiteAddress(const std::wstring& website) {
    const std::size_t first = website.find_first_not_of(L" \t\r\n");
    if (first == std::wstring::npos) return {};
    const std::wstring text =
        website.substr(first, website.find_last_not_of(L" \t\r\n") - first + 1);
    if (std::any_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x20 || c == 0x7f; })) {
        return {};
    }
    if (const std::size_t length = SchemeLength(text); length > 0) {
        const std::wstring scheme = Lower(text.substr(0, length));
        if (std::find(std::begin(kWebSchemes), std::end(kWebSchemes), scheme) !=
            std::end(kWebSchemes)) {
            return length + 1 < text.size() ? text : std::wstring();
        }
        // "host:8080/..." names a port, not a scheme; anything else is a scheme not opened.
        if (length + 1 >= text.size() || !IsAsciiDigit(text[length + 1])) return {};
    }
    // What an opener could take for an option, or for a file or a share.
    if (std::wstring(L"-/\\.~").find(text[0]) != std::wstring::npos) return {};
    return L"https://" + text;
}

CSystem::CSystem() : m_pathes(New<CPathes>()) {}

std::wstring CSystem::GetVersionText() { return LocalVersionText(); }

std::uint32_t CSystem::GetLibraryVersion(const std::wstring& library) {
    // None of the versioned shell libraries exist here; each counts as 4.0, asked once.
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_libraryVersions.try_emplace(library, kDefaultLibraryVersion).first->second;
}

void CSystem::SeedUniqueNames(std::uint32_t seed) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_random.seed(seed);
}

P<IWin32System> GetSystem() {
    static TSingletonHolder<IWin32System> holder;
    return holder.Get(&MakeSystem);
}

}  // namespace tarn::win32
