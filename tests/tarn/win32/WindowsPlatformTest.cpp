// The Windows side of the platform layer, run under Wine: paths in the Windows form with their
// long-path prefix, disk streams with CreateFileW's sharing, named mutexes (also abandoned
// ones), the shell's associations, unique names and the tick count.

#include <gtest/gtest.h>

#include <atomic>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "tarn/Exception.h"
#include "tarn/Text.h"
#include "tarn/win32/DiskStream.h"
#include "tarn/win32/Mutex.h"
#include "tarn/win32/System.h"
#include "tarn/win32/TickCount.h"
#include "tarn/win32/WindowsApi.h"

namespace {

using tarn::CStreamMode;
using tarn::CURI;
using tarn::New;
using tarn::P;
using tarn::win32::CDiskInStream;
using tarn::win32::CDiskIOStream;
using tarn::win32::CDiskOutStream;
using tarn::win32::CGlobalMutexImpl;
using tarn::win32::GetSystem;

namespace fs = std::filesystem;

class WindowsPlatformTest : public testing::Test {
protected:
    void SetUp() override {
        const auto system = GetSystem();
        const P<CURI> temp = system->PathToURI(fs::temp_directory_path().wstring());
        m_folder = fs::path(system->URIToPath(system->CreateUniqueFolder(temp, L"lum ", L""), false));
        ASSERT_TRUE(fs::is_directory(m_folder)) << m_folder.string();
    }
    void TearDown() override {
        std::error_code error;
        fs::remove_all(m_folder, error);
    }

    P<CURI> URIOf(const fs::path& file) const { return GetSystem()->PathToURI(file.wstring()); }
    P<CURI> URIOf(const char* name) const { return URIOf(m_folder / name); }
    P<CURI> URIOf(const std::string& name) const { return URIOf(m_folder / name); }

    // "opened", "not found" or "refused".
    std::string Open(const std::string& name, const CStreamMode& mode) const {
        try {
            if (mode.access == CStreamMode::kRead) New<CDiskInStream>(URIOf(name), mode);
            if (mode.access == CStreamMode::kWrite) New<CDiskOutStream>(URIOf(name), mode);
            if (mode.access == 3) New<CDiskIOStream>(URIOf(name), mode);
            return "opened";
        } catch (const tarn::CFileNotFoundError&) {
            return "not found";
        } catch (const tarn::CError&) {
            return "refused";
        }
    }

    fs::path m_folder;
};

CStreamMode Mode(unsigned access, int sharing, int creation, bool deleteOnClose = false) {
    return CStreamMode{access, sharing, creation, deleteOnClose};
}

TEST_F(WindowsPlatformTest, PathsAreWindowsPathsWithTheLongFormWhereNeeded) {
    const auto system = GetSystem();
    EXPECT_EQ(system->URIToPath(CURI::Parse(L"file:///C:/dir/a%20b.txt"), false), L"C:\\dir\\a b.txt");
    EXPECT_EQ(system->PathToURI(L"C:\\dir\\a b.txt")->GetText(), L"file:///C:/dir/a%20b.txt");
    EXPECT_EQ(system->URIToPath(CURI::Parse(L"https://example.com/x"), true), L"https://example.com/x");

    // A file below a folder path of 300 characters: made, read and removed through the
    // "\\?\" form that URIToPath gives such paths.
    fs::path deep = m_folder;
    while (deep.wstring().size() < 300) deep /= L"a folder with a long name";
    const std::wstring text = system->URIToPath(URIOf(deep), false);
    ASSERT_EQ(text.rfind(L"\\\\?\\", 0), 0u) << tarn::ToUtf8(text);
    system->CreateFolder(URIOf(deep));
    const P<CURI> file = URIOf(deep / "data.bin");
    New<CDiskOutStream>(file, CStreamMode::Creating())->Write("long", 4);
    const auto in = New<CDiskInStream>(file, CStreamMode::Reading());
    char bytes[4] = {};
    in->Read(bytes, 4);
    EXPECT_EQ(std::string(bytes, 4), "long");
}

TEST_F(WindowsPlatformTest, SharingModesAreTheSystemsOwn) {
    std::ofstream(m_folder / "shared", std::ios::binary) << "precious";
    {
        const auto alone = New<CDiskInStream>(URIOf("shared"), Mode(1, CStreamMode::kShareNone, 1));
        EXPECT_EQ(Open("shared", Mode(1, CStreamMode::kShareAll, 1)), "refused");
        // A refused replacement leaves the file whole.
        EXPECT_EQ(Open("shared", Mode(3, CStreamMode::kShareAll, CStreamMode::kCreateAlways)), "refused");
    }
    {
        const auto reader = New<CDiskInStream>(URIOf("shared"), Mode(1, CStreamMode::kShareRead, 1));
        EXPECT_EQ(Open("shared", Mode(1, CStreamMode::kShareRead, 1)), "opened");
        EXPECT_EQ(Open("shared", Mode(3, CStreamMode::kShareAll, 1)), "refused");
    }
    {
        const auto writer = New<CDiskIOStream>(URIOf("shared"), Mode(3, CStreamMode::kShareAll, 1));
        EXPECT_EQ(Open("shared", Mode(3, CStreamMode::kShareAll, 1)), "opened");
        EXPECT_EQ(Open("shared", Mode(1, CStreamMode::kShareNone, 1)), "refused");
    }
    std::ifstream in(m_folder / "shared", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "precious");
    EXPECT_EQ(Open("missing", Mode(1, CStreamMode::kShareRead, 1)), "not found");
    EXPECT_EQ(Open("no folder/file", Mode(1, CStreamMode::kShareRead, 1)), "not found");
    // A folder is no file to stream.
    fs::create_directory(m_folder / "folder");
    EXPECT_EQ(Open("folder", Mode(1, CStreamMode::kShareRead, 1)), "refused");
}

TEST_F(WindowsPlatformTest, DeleteOnCloseAndReadOnlyFilesGo) {
    const auto temporary = New<CDiskIOStream>(URIOf("temp.bin"), Mode(3, 0, 2, true));
    temporary->Write("x", 1);
    EXPECT_TRUE(fs::exists(m_folder / "temp.bin"));
    temporary->Close();
    EXPECT_FALSE(fs::exists(m_folder / "temp.bin"));

    const auto system = GetSystem();
    const P<CURI> file = system->CreateUniqueFile(URIOf(m_folder), L"lum", L".wav");
    const fs::path path(system->URIToPath(file, false));
    EXPECT_EQ(path.filename().wstring().size(), std::wstring(L"lum12345678.wav").size());
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    system->DeleteFile(file);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_THROW(system->DeleteFile(file), tarn::CFileNotFoundError);
}

TEST(WindowsGlobalMutexTest, ExcludesAndIsTakenOverWhenAbandoned) {
    const std::wstring name = L"lumplayer-test-mutex-" + std::to_wstring(tarn::win32::GetTickCount());
    const auto mutex = New<CGlobalMutexImpl>(name);
    const auto other = New<CGlobalMutexImpl>(name);
    std::atomic<bool> held{false};
    std::atomic<bool> release{false};
    std::thread owner([&] {
        other->Lock();
        held = true;
        while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        other->Unlock();
    });
    while (!held) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_FALSE(mutex->TryLock(50));
    release = true;
    owner.join();
    ASSERT_TRUE(mutex->TryLock(1000));
    mutex->Lock();  // the owner may lock again
    mutex->Unlock();
    mutex->Unlock();

    // A thread that ends holding it abandons it; the next one takes it over.
    std::thread([&] { other->Lock(); }).join();
    EXPECT_TRUE(mutex->TryLock(1000));
    mutex->Unlock();
    EXPECT_THROW(New<CGlobalMutexImpl>(L"no\\such\\namespace"), tarn::CException);
}

TEST(WindowsSystemTest, TickCountAndVersion) {
    EXPECT_EQ(GetSystem()->GetVersionText().rfind(L"Windows", 0), 0u);

    const std::uint32_t start = tarn::win32::GetTickCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const std::uint32_t elapsed = tarn::win32::GetTickCount() - start;
    EXPECT_GE(elapsed, 40u);
    EXPECT_LT(elapsed, 5000u);
}

TEST(WindowsShellTest, AssociationsComeFromTheRegistry) {
    const auto system = GetSystem();
    EXPECT_EQ(system->GetAssociatedExecutable(L".lumplayer-unknown-extension"), nullptr);
    EXPECT_EQ(system->GetAssociatedExecutable(L""), nullptr);
    // Windows opens plain texts with Notepad. A fresh Wine prefix may not have registered
    // the extension yet; then there is nothing to find.
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, L".txt", 0, KEY_READ, &key) != ERROR_SUCCESS) {
        GTEST_SKIP() << "this system has no association for .txt";
    }
    ::RegCloseKey(key);
    for (const wchar_t* extension : {L"txt", L".txt"}) {
        const P<CURI> program = system->GetAssociatedExecutable(extension);
        ASSERT_TRUE(program) << tarn::ToUtf8(extension);
        std::wstring path = system->URIToPath(program, false);
        for (wchar_t& c : path) c = static_cast<wchar_t>(std::towlower(c));
        EXPECT_NE(path.find(L"notepad.exe"), std::wstring::npos) << tarn::ToUtf8(path);
    }
}

}  // namespace
