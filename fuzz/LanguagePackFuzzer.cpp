// Reads arbitrary bytes as a language pack, the way the locale manager reads one: the pack's
// header (does it name the player's application?), then its texts into a localizer. Reading
// errors of the resource file (tarn::CException) are expected results; a crash, a leak, a hang
// or unbounded memory is a fault. Needs no display.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "tarn/Exception.h"
#include "wxutil/LocalePacks.h"
#include "wxutil/MyStringLocalizer.h"

namespace {

// The input is the only pack in a folder of its own, named as the player's packs are.
std::filesystem::path g_folder;
std::filesystem::path g_pack;

bool WriteInput(const std::uint8_t* data, std::size_t size) {
    FILE* file = std::fopen(g_pack.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

void RemoveFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(g_folder, ignored);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    wxutil::CMyStringLocalizer::Install();
    std::string pattern =
        (std::filesystem::temp_directory_path() / "langpack-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    g_folder = pattern;
    g_pack = g_folder / "quellbrook-xx.zvtLang";
    std::atexit(RemoveFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!WriteInput(data, size)) std::abort();
    const auto packs =
        tarn::New<wxutil::CLocalePacks>(g_folder.wstring(), L"quellbrook-", L"quellbrook");
    if (packs->GetPacks().Size() == 0) return 0;  // unreadable or another application's
    (void)packs->FindBest(L"de-de");
    const auto localizer = tarn::New<wxutil::CMyStringLocalizer>();
    std::map<std::wstring, std::wstring> toolkitTexts;
    try {
        packs->Load(0, *localizer, &toolkitTexts);
    } catch (const tarn::CException&) {
        return 0;  // a damaged pack the reader refuses on purpose
    }
    (void)localizer->LocalizeOwn(L"lum.CMainFrame.ActionNoValid", L"default");
    return 0;
}
