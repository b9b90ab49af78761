#include "tarn/win32/System.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "TempFolder.h"
#include "tarn/Exception.h"
#include "tarn/StreamManager.h"
#include "tarn/Text.h"
#include "tarn/win32/VersionText.h"
#include "tarn/win32/WindowsArguments.h"

namespace {

namespace fs = std::filesystem;
using tarn::CURI;
using tarn::P;
using tarn::win32::CSystem;

// Puts a fake desktop opener first on PATH that records the arguments it receives.
class FakeOpener {
public:
    FakeOpener() : m_record(m_folder / "record") {
        const fs::path script = m_folder.Write(
            "xdg-open",
            "#!/bin/sh\n"
            "out=\"$LUM_FAKE_OPEN_RECORD\"\n"
            "printf '%s\\n' \"$#\" > \"$out.tmp\"\n"
            "for a in \"$@\"; do printf '%s\\0' \"$a\" >> \"$out.tmp\"; done\n"
            "mv \"$out.tmp\" \"$out\"\n");
        fs::permissions(script, fs::perms::owner_all);
        m_oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", (m_folder.Path().string() + ":" + m_oldPath).c_str(), 1);
        setenv("LUM_FAKE_OPEN_RECORD", m_record.c_str(), 1);
    }
    ~FakeOpener() { setenv("PATH", m_oldPath.c_str(), 1); }

    // The arguments of the next call, waiting for it up to five seconds.
    std::vector<std::string> NextCall() {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!fs::exists(m_record) && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        std::ifstream in(m_record, std::ios::binary);
        std::string count;
        std::getline(in, count);
        std::vector<std::string> arguments;
        for (std::string argument; std::getline(in, argument, '\0');) arguments.push_back(argument);
        in.close();
        fs::remove(m_record);
        if (count.empty() || std::stoul(count) != arguments.size()) arguments.push_back("<count mismatch>");
        return arguments;
    }

private:
    testsupport::TempFolder m_folder;
    fs::path m_record;
    std::string m_oldPath;
};

TEST(SystemTest, ShellOpenPassesOneLiteralArgument) {
    FakeOpener opener;
    const P<CSystem> system = tarn::New<CSystem>();

    const std::string tricky = "/media/disc/My \"Docs\"; it's $(rm -rf ~) `x` & more.pdf";
    system->ShellOpen(system->PathToURI(tarn::FromUtf8(tricky)));
    EXPECT_EQ(opener.NextCall(), std::vector<std::string>{tricky});

    system->ShellOpen(CURI::Parse(L"https://example.com/menu?a=1&b=two#top"));
    EXPECT_EQ(opener.NextCall(), std::vector<std::string>{"https://example.com/menu?a=1&b=two#top"});

    system->ShellOpen(CURI::Parse(L"mailto:info@example.com?subject=Hallo%20Welt"));
    EXPECT_EQ(opener.NextCall(),
              std::vector<std::string>{"mailto:info@example.com?subject=Hallo%20Welt"});

    // Content made on Windows may name files with "\".
    system->ShellOpen(system->PathToURI(L"/media/disc\\docs\\read me.txt"));
    EXPECT_EQ(opener.NextCall(), std::vector<std::string>{"/media/disc/docs/read me.txt"});
}

TEST(SystemTest, ShellOpenWithoutOpenerReportsNothing) {
    const std::string oldPath = std::getenv("PATH");
    testsupport::TempFolder empty;
    setenv("PATH", empty.Path().c_str(), 1);
    EXPECT_NO_THROW(tarn::New<CSystem>()->ShellOpen(CURI::Parse(L"https://example.com/")));
    setenv("PATH", oldPath.c_str(), 1);
}

// A program put first on PATH under name that records, as soon as it starts, its arguments
// and the descriptors it inherited (leaving out the one it lists them with).
class DescriptorRecorder {
public:
    explicit DescriptorRecorder(const std::string& name) : m_record(m_folder / "record") {
        const fs::path script = m_folder.Write(
            name,
            "#!/usr/bin/env python3\n"
            "import json, os, sys\n"
            "here = '/proc/%d/fd' % os.getpid()\n"
            "fds = [int(fd) for fd in os.listdir('/proc/self/fd')\n"
            "       if os.path.exists('/proc/self/fd/' + fd)\n"
            "       and os.readlink('/proc/self/fd/' + fd) != here]\n"
            "with open(os.environ['LUM_FD_RECORD'] + '.tmp', 'w') as f:\n"
            "    json.dump({'args': sys.argv[1:], 'fds': sorted(fds)}, f)\n"
            "os.rename(os.environ['LUM_FD_RECORD'] + '.tmp', os.environ['LUM_FD_RECORD'])\n");
        fs::permissions(script, fs::perms::owner_all);
        m_oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", (m_folder.Path().string() + ":" + m_oldPath).c_str(), 1);
        setenv("LUM_FD_RECORD", m_record.c_str(), 1);
    }
    ~DescriptorRecorder() { setenv("PATH", m_oldPath.c_str(), 1); }

    // The record of the call, waiting for it up to ten seconds; empty when none came.
    std::string Record() const {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!fs::exists(m_record) && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        std::ifstream in(m_record);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    testsupport::TempFolder m_folder;
    fs::path m_record;
    std::string m_oldPath;
};

TEST(SystemTest, StartedProgramsInheritOnlyTheStandardDescriptors) {
    DescriptorRecorder opener("xdg-open");
    // Descriptors opened the old way, without close-on-exec, as a library might.
    const int file = ::open("/", O_RDONLY);
    int pipe[2] = {-1, -1};
    ASSERT_EQ(::pipe(pipe), 0);
    ASSERT_GE(file, 3);
    tarn::New<CSystem>()->ShellOpen(CURI::Parse(L"https://example.com/"));
    EXPECT_EQ(opener.Record(), "{\"args\": [\"https://example.com/\"], \"fds\": [0, 1, 2]}");
    for (const int descriptor : {file, pipe[0], pipe[1]}) ::close(descriptor);
}

// Documents go to the desktop's opener even where the toolkit knows an open command for their
// type: the command of a .desktop file may need a terminal, which only the opener provides.
TEST(SystemTest, RunFileHandsDocumentsToTheDesktopOpener) {
    const DescriptorRecorder viewer("lumviewer");  // would be started instead of the opener
    FakeOpener opener;
    // A private desktop database: plain texts open with "lumviewer --open %f *", a terminal
    // program (found on PATH: the toolkit reads the command line in lower case).
    testsupport::TempFolder xdg;
    xdg.Write("applications/lumviewer.desktop",
              "[Desktop Entry]\nType=Application\nName=Viewer\nExec=lumviewer --open %f *\n"
              "Terminal=true\nMimeType=text/plain;\n");
    const std::string oldData = std::getenv("XDG_DATA_DIRS") ? std::getenv("XDG_DATA_DIRS") : "";
    setenv("XDG_DATA_DIRS", xdg.Path().c_str(), 1);
    const P<CSystem> system = tarn::New<CSystem>();
    testsupport::TempFolder disc;
    const fs::path document = disc.Write("Read me; $(x).txt", "words");
    // A script that may not be executed and is no shell script: a document too.
    const fs::path script = disc.Write("install", "#!/bin/sh\ntouch ran\n");

    for (const fs::path& file : {document, script}) {
        system->RunFile(tarn::FromUtf8(file.string()), L"--ignored");
        EXPECT_EQ(opener.NextCall(), std::vector<std::string>{file.string()});
    }
    EXPECT_FALSE(fs::exists(disc.Path() / "ran"));
    system->ExploreFolder(L"/media/disc/Docs");
    EXPECT_EQ(opener.NextCall(), std::vector<std::string>{"/media/disc/Docs"});
    setenv("XDG_DATA_DIRS", oldData.c_str(), 1);
}

// The lines a started program wrote to the file at path, waiting for it up to five seconds.
std::vector<std::string> Marker(const fs::path& path) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!fs::exists(path) && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the writer finishes
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Programs on the medium start directly in their own folder, with the action's parameters
// split as Windows splits them, never through a shell that would read $ or ; in them.
TEST(SystemTest, RunFileStartsProgramsDirectlyInTheirFolder) {
    FakeOpener opener;
    testsupport::TempFolder disc;
    const std::string record = "printf '%s\\n' \"$PWD\" \"$@\" > \"$LUM_MARKER\"\n";
    const fs::path installer = disc.Write("setup/install", "#!/bin/sh\n" + record);
    fs::permissions(installer, fs::perms::owner_all);
    // As on a medium mounted noexec: no execute bit, so it runs as "sh FILE".
    const fs::path script = disc.Write("setup/Setup.SH", record);
    const fs::path copy = disc.Path() / "bin/mark";
    fs::create_directories(copy.parent_path());
    fs::copy_file("/usr/bin/touch", copy);  // an ELF program
    const P<CSystem> system = tarn::New<CSystem>();
    const std::string params = R"(-x "two words" a\"b $(rm) ;)";
    const std::vector<std::string> words{"-x", "two words", "a\"b", "$(rm)", ";"};
    for (const fs::path& file : {installer, script}) {
        const fs::path marker = disc.Path() / (file.filename().string() + ".marker");
        setenv("LUM_MARKER", marker.c_str(), 1);
        system->RunFile(tarn::FromUtf8(file.string()), tarn::FromUtf8(params));
        std::vector<std::string> expected{fs::canonical(disc.Path() / "setup").string()};
        expected.insert(expected.end(), words.begin(), words.end());
        EXPECT_EQ(Marker(marker), expected) << file;
    }
    system->RunFile(tarn::FromUtf8(copy.string()), L"made \"by touch\"");
    Marker(disc.Path() / "bin/by touch");
    EXPECT_TRUE(fs::exists(disc.Path() / "bin/made"));
    EXPECT_TRUE(fs::exists(disc.Path() / "bin/by touch"));
    unsetenv("LUM_MARKER");
}

// How a file of the medium starts follows from its first bytes, its execute bit and its name.
TEST(SystemTest, RunFileStartsProgramsScriptsAndDocumentsEachTheirWay) {
    using ERunStart = CSystem::ERunStart;
    testsupport::TempFolder disc;
    const auto file = [&disc](const std::string& name, const std::string& bytes, bool executable) {
        const fs::path path = disc.Write(name, bytes);
        fs::permissions(path, executable ? fs::perms::owner_all
                                         : fs::perms::owner_read | fs::perms::owner_write);
        return tarn::FromUtf8(path.string());
    };
    const std::string elf = "\x7f\x45LF\x02\x01\x01";
    const std::string script = "#!/bin/sh\necho hi\n";
    const struct {
        std::wstring path;
        ERunStart start;
    } cases[] = {
        {file("bin/tool", elf, true), ERunStart::Directly},
        {file("Tool.AppImage", elf, true), ERunStart::Directly},
        {file("install", script, true), ERunStart::Directly},
        {file("setup.sh", script, true), ERunStart::Directly},
        // No execute bit, as on a medium mounted noexec: a shell script runs through sh...
        {file("setup2.sh", script, false), ERunStart::WithShell},
        {file("SETUP.SH", "echo no first line\n", false), ERunStart::WithShell},
        {file("plain.sh", "echo no first line\n", true), ERunStart::WithShell},
        // ...a program cannot run at all...
        {file("Other.AppImage", elf, false), ERunStart::CannotRun},
        {file("Empty.appimage", "", false), ERunStart::CannotRun},
        {file("bin/tool2", elf, false), ERunStart::CannotRun},
        {file("tool.sh", elf, false), ERunStart::CannotRun},
        // ...and the rest is for the desktop's opener, even with an execute bit.
        {file("install2", script, false), ERunStart::Opener},
        {file("Read me.txt", "words", false), ERunStart::Opener},
        {file("notes.txt", "words", true), ERunStart::Opener},
        {file("manual.pdf", "%PDF-1.4", true), ERunStart::Opener},
        {tarn::FromUtf8((disc.Path() / "missing.exe").string()), ERunStart::Opener},
    };
    for (const auto& [path, start] : cases) {
        EXPECT_EQ(CSystem::RunStartOf(path), start) << tarn::ToUtf8(path);
    }
    // A folder, or a FIFO in a program's place, is no program (and is never waited on).
    fs::create_directories(disc.Path() / "folder.sh");
    EXPECT_EQ(CSystem::RunStartOf(tarn::FromUtf8((disc.Path() / "folder.sh").string())),
              ERunStart::Opener);
    const fs::path fifo = disc.Path() / "pipe.AppImage";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0700), 0);
    EXPECT_EQ(CSystem::RunStartOf(tarn::FromUtf8(fifo.string())), ERunStart::Opener);
}

// The error comes before anything is started or handed to the opener.
TEST(SystemTest, RunFileOfAProgramThatMayNotBeExecutedSaysWhy) {
    testsupport::TempFolder disc;
    const fs::path image = disc.Write("apps/Tool.AppImage", "\x7f\x45LF\x02\x01\x01");
    try {
        tarn::New<CSystem>()->RunFile(tarn::FromUtf8(image.string()), L"--install");
        ADD_FAILURE() << "no error";
    } catch (const tarn::CError& error) {
        EXPECT_EQ(error.GetDescription().rfind(L"The program 'Tool.AppImage' cannot be started", 0),
                  0u)
            << tarn::ToUtf8(error.GetDescription());
    }
}

TEST(SystemTest, ParametersSplitAsWindowsSplitsACommandLine) {
    using tarn::win32::SplitWindowsArguments;
    using Words = std::vector<std::wstring>;
    EXPECT_EQ(SplitWindowsArguments(L""), Words{});
    EXPECT_EQ(SplitWindowsArguments(L"  \t "), Words{});
    EXPECT_EQ(SplitWindowsArguments(L" /S  /D=C:\\Program Files\\x "),
              (Words{L"/S", L"/D=C:\\Program", L"Files\\x"}));
    EXPECT_EQ(SplitWindowsArguments(L"\"C:\\Program Files\\x\" \"\" end"),
              (Words{L"C:\\Program Files\\x", L"", L"end"}));
    EXPECT_EQ(SplitWindowsArguments(L"a\"b c\"d e"), (Words{L"ab cd", L"e"}));
    // Backslashes count only before a quote: 2n give n, 2n+1 give n and a literal quote.
    EXPECT_EQ(SplitWindowsArguments(L"a\\\\b a\\\\\"b c\" a\\\"b"),
              (Words{L"a\\\\b", L"a\\b c", L"a\"b"}));
    EXPECT_EQ(SplitWindowsArguments(L"\"say \"\"hi\"\"\" x"), (Words{L"say \"hi\"", L"x"}));
    EXPECT_EQ(SplitWindowsArguments(L"\"open end"), (Words{L"open end"}));
}

TEST(SystemTest, WebsitesBecomeAddressesThatAreNeverOptionsOrFiles) {
    const auto address = &CSystem::WebsiteAddress;
    EXPECT_EQ(address(L"https://example.com/a?b=1#c"), L"https://example.com/a?b=1#c");
    EXPECT_EQ(address(L"  HTTP://example.com "), L"HTTP://example.com");
    EXPECT_EQ(address(L"ftp://files.example.com/x"), L"ftp://files.example.com/x");
    EXPECT_EQ(address(L"mailto:info@example.com"), L"mailto:info@example.com");
    // What authors write most: a bare host, which has always opened as a web page.
    EXPECT_EQ(address(L"www.example.com/a b"), L"https://www.example.com/a b");
    EXPECT_EQ(address(L"localhost:8080/menu"), L"https://localhost:8080/menu");
    for (const wchar_t* refused :
         {L"-x", L" --help", L"/etc/passwd", L"./x", L"..\\x", L"~/x", L"\\\\server\\share",
          L"file:///etc/passwd", L"javascript:alert(1)", L"C:\\Windows", L"smb://host/x", L"https:",
          L"", L"   ", L"www.example.com\n-x"}) {
        EXPECT_EQ(address(refused), L"") << tarn::ToUtf8(refused);
    }
}

TEST(SystemTest, ShellOpenRefusesWhatTheOpenerWouldTakeForAnOption) {
    FakeOpener opener;
    const P<CSystem> system = tarn::New<CSystem>();
    EXPECT_THROW(system->ShellOpen(CURI::Parse(L"-x")), tarn::CError);
    EXPECT_THROW(system->ShellOpen(CURI::Parse(L"--version")), tarn::CError);
    system->ShellOpen(CURI::Parse(L"https://example.com/-x"));
    EXPECT_EQ(opener.NextCall(), std::vector<std::string>{"https://example.com/-x"});
}

TEST(SystemTest, UnknownExtensionHasNoExecutable) {
    const P<CSystem> system = tarn::New<CSystem>();
    EXPECT_FALSE(system->GetAssociatedExecutable(L".no-such-extension-lum"));
    EXPECT_FALSE(system->GetAssociatedExecutable(L""));
}

TEST(SystemTest, UniqueNamesFollowTheGeneratorAndPattern) {
    testsupport::TempFolder folder;
    const P<CSystem> system = tarn::New<CSystem>();
    const P<CURI> where = system->PathToURI(tarn::FromUtf8(folder.Path().string()));
    // The standard generator's first two numbers for its default seed.
    system->SeedUniqueNames(5489);
    const P<CURI> first = system->CreateUniqueFile(where, L"tmp", L".wav");
    EXPECT_EQ(system->URIToPath(first, false),
              tarn::FromUtf8((folder / "tmpD091BB5C.wav").string()));
    EXPECT_TRUE(fs::is_regular_file(folder / "tmpD091BB5C.wav"));
    // A name that exists is skipped.
    system->SeedUniqueNames(5489);
    system->CreateUniqueFile(where, L"tmp", L".wav");
    EXPECT_TRUE(fs::is_regular_file(folder / "tmp22AE9EF6.wav"));
    const P<CURI> made = system->CreateUniqueFolder(where, L"d-", L"");
    EXPECT_TRUE(fs::is_directory(tarn::ToUtf8(system->URIToPath(made, false))));
}

TEST(SystemTest, UniqueNameGivesUpAfterAllAttempts) {
    testsupport::TempFolder folder;
    folder.Write("plain", "x");
    const P<CSystem> system = tarn::New<CSystem>();
    // Nothing can be created below a file, whoever runs the test.
    const P<CURI> where = system->PathToURI(tarn::FromUtf8((folder / "plain").string()));
    try {
        system->CreateUniqueFile(where, L"a", L"b");
        FAIL() << "no error";
    } catch (const tarn::CError& error) {
        EXPECT_EQ(error.GetDescription(), L"Error creating unique file name. Not a directory");
    }
    EXPECT_THROW(system->CreateUniqueFolder(where, L"a", L""), tarn::CError);
}

TEST(SystemTest, FileOperationsAndTheirMessages) {
    testsupport::TempFolder folder;
    const P<CSystem> system = tarn::New<CSystem>();
    const auto uri = [&](const std::string& name) {
        return system->PathToURI(tarn::FromUtf8((folder / name).string()));
    };
    const std::wstring base = tarn::FromUtf8(folder.Path().string());

    // A read-only file can still be deleted.
    const fs::path locked = folder.Write("locked.txt", "x");
    fs::permissions(locked, fs::perms::owner_read);
    system->DeleteFile(uri("locked.txt"));
    EXPECT_FALSE(fs::exists(locked));
    try {
        system->DeleteFile(uri("missing.txt"));
        FAIL() << "no error";
    } catch (const tarn::CFileNotFoundError& error) {
        EXPECT_EQ(error.GetDescription(), L"The file '" + base + L"/missing.txt' was not found.");
    }

    folder.Write("a.txt", "content");
    system->CopyFile(uri("a.txt"), uri("b.txt"));
    system->MoveFile(uri("b.txt"), uri("c.txt"));
    EXPECT_TRUE(fs::exists(folder / "a.txt"));
    EXPECT_FALSE(fs::exists(folder / "b.txt"));
    EXPECT_EQ(fs::file_size(folder / "c.txt"), 7u);

    system->CreateFolder(uri("x/y/z"));
    EXPECT_TRUE(fs::is_directory(folder / "x/y/z"));
    system->MoveFolder(uri("x"), uri("w"));
    folder.Write("w/y/z/file", "1");
    system->DeleteFolder(uri("w"));
    EXPECT_FALSE(fs::exists(folder / "w"));
    EXPECT_THROW(system->DeleteFolder(uri("w")), tarn::CFileNotFoundError);
    try {
        system->DeleteFolder(uri("a.txt"));
        FAIL() << "no error";
    } catch (const tarn::CFileNotFoundError&) {
        FAIL() << "a file is not a missing folder";
    } catch (const tarn::CError& error) {
        EXPECT_EQ(error.GetDescription(),
                  L"Error deleting the folder '" + base + L"/a.txt' (Not a directory).");
    }

    try {
        system->CreateFolder(uri("a.txt/sub"));
        FAIL() << "no error";
    } catch (const tarn::CError& error) {
        EXPECT_EQ(error.GetDescription(),
                  L"Error creating the folder '" + base + L"/a.txt/sub' (Not a directory).");
    }
    system->CreateFolder(uri("dir"));
    try {
        system->DeleteFile(uri("dir"));
        FAIL() << "no error";
    } catch (const tarn::CError& error) {
        EXPECT_EQ(error.GetDescription(),
                  L"Error deleting the file '" + base + L"/dir' (Is a directory).");
    }
}

TEST(SystemTest, VersionTexts) {
    using tarn::win32::WindowsVersionText;
    EXPECT_EQ(WindowsVersionText(false, 4, 0, L""), L"Windows 95");
    EXPECT_EQ(WindowsVersionText(false, 4, 10, L"A"), L"Windows 98 A");
    EXPECT_EQ(WindowsVersionText(false, 4, 90, L""), L"Windows ME");
    EXPECT_EQ(WindowsVersionText(false, 5, 0, L""), L"Windows 5.0");
    EXPECT_EQ(WindowsVersionText(true, 3, 51, L""), L"Windows NT 3.51");
    EXPECT_EQ(WindowsVersionText(true, 4, 0, L"Service Pack 6"), L"Windows NT 4.0 Service Pack 6");
    EXPECT_EQ(WindowsVersionText(true, 5, 0, L""), L"Windows 2000");
    EXPECT_EQ(WindowsVersionText(true, 5, 1, L"Service Pack 3"), L"Windows XP Service Pack 3");
    EXPECT_EQ(WindowsVersionText(true, 5, 2, L""), L"Windows 2003 Server");
    EXPECT_EQ(WindowsVersionText(true, 5, 3, L""), L"Windows NT 5.3");
    EXPECT_EQ(WindowsVersionText(true, 6, 0, L""), L"Windows Vista");
    EXPECT_EQ(WindowsVersionText(true, 6, 1, L""), L"Windows 7");
    EXPECT_EQ(WindowsVersionText(true, 6, 2, L""), L"Windows Vista");
    EXPECT_EQ(WindowsVersionText(true, 10, 0, L""), L"Windows NT 10.0");
    EXPECT_FALSE(tarn::win32::LocalVersionText().empty());
}

TEST(SystemTest, ProcessWideObjectAndLibraryVersions) {
    const P<tarn::win32::IWin32System> system = tarn::win32::GetSystem();
    EXPECT_EQ(system, tarn::win32::GetSystem());
    EXPECT_EQ(system->GetLibraryVersion(L"shell32.dll"), 0x40000u);
    EXPECT_EQ(system->GetLibraryVersion(L"comctl32.dll"), 0x40000u);
    EXPECT_TRUE(system->GetUserFolder(tarn::EUserFolder::LocalAppData)->IsFile());
    // With the system object up, local files open by URI through the stream manager.
    testsupport::TempFolder folder;
    const fs::path file = folder.Write("x.bin", "abc");
    const auto stream = tarn::GetStreamManager()->OpenSeekableInStream(
        system->PathToURI(tarn::FromUtf8(file.string())), tarn::CStreamMode::Reading());
    EXPECT_EQ(stream->GetSize(), 3u);
}

}  // namespace
