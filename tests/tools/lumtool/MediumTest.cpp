// "lumtool medium" run as a program: the tree it writes, what it keeps, and what it refuses.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <wx/wfstream.h>
#include <wx/zipstrm.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "ContentFile.h"
#include "IsoImage.h"
#include "TempFolder.h"
#include "ToolRun.h"
#include "WindowsMedium.h"
#include "graphics/PictureHandlers.h"

#ifndef DEMO_CONTENT
#error "DEMO_CONTENT must name the demo content file the build packs"
#endif

namespace {

namespace fs = std::filesystem;

using lumtooltest::RunProgram;
using lumtooltest::RunTool;

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool RunsForEveryone(const fs::path& path) {
    const fs::perms need = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    return fs::is_regular_file(path) && (fs::status(path).permissions() & need) == need;
}

TEST(MediumTest, WritesTheTreeAndKeepsTheAuthorsFiles) {
    testsupport::TempFolder folder;
    const fs::path medium = folder / "Mein Menü";
    const fs::path disc = fs::path(DEMO_CONTENT).parent_path();  // the build puts them beside
    folder.Write("Mein Menü/demo-docs/readme.txt", "an older readme");
    folder.Write("Mein Menü/demo-docs/notes.txt", "the author's");
    folder.Write("Mein Menü/extras/more.txt", "the author's too");
    folder.Write("Mein Menü/.lumplayer/lib/libstale.so.1", "from an older player");
    const auto run = RunTool("medium " + Quoted(DEMO_CONTENT) + " -o " + Quoted(medium), folder);
    ASSERT_EQ(run.status, 0) << run.err;

    EXPECT_EQ(Bytes(medium / "content.lum"), Bytes(DEMO_CONTENT));
    EXPECT_TRUE(RunsForEveryone(medium / "lumplayer"));
    EXPECT_TRUE(RunsForEveryone(medium / "autorun.sh"));
    EXPECT_TRUE(RunsForEveryone(medium / ".lumplayer/bin/lumplayer"));
    // The files the buttons and the icon name come from beside the content file; the
    // author's others stay, also in a folder that the disc's files go into.
    for (const char* name : {"demo-docs/readme.txt", "setup/install.sh", "lumplayer-demo.ico"}) {
        EXPECT_EQ(Bytes(medium / name), Bytes(disc / name)) << name;
    }
    EXPECT_EQ(Bytes(medium / "demo-docs/notes.txt"), "the author's");
    EXPECT_EQ(Bytes(medium / "extras/more.txt"), "the author's too");
    EXPECT_FALSE(fs::exists(medium / ".lumplayer/lib/libstale.so.1"));
    // The toolkit and SDL come along; what every GTK 3 desktop has does not.
    const fs::path lib = medium / ".lumplayer/lib";
    for (const char* name :
         {"libwx_baseu-3.2.so.0", "libwx_gtk3u_core-3.2.so.0", "libSDL2-2.0.so.0"}) {
        EXPECT_TRUE(fs::is_regular_file(lib / name)) << name;
    }
    for (const char* name : {"libc.so.6", "libstdc++.so.6", "libgtk-3.so.0", "libglib-2.0.so.0",
                             "libX11.so.6", "libcairo.so.2", "libfreetype.so.6"}) {
        EXPECT_FALSE(fs::exists(lib / name)) << name;
    }

    // Again, with the medium's own content file as the content: it stays whole.
    const auto again =
        RunTool("medium " + Quoted(medium / "content.lum") + " -o " + Quoted(medium), folder);
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(Bytes(medium / "content.lum"), Bytes(DEMO_CONTENT));
}

// The entry names of a content file, read back with the toolkit's ZIP reader.
std::set<std::string> EntryNames(const fs::path& content) {
    std::set<std::string> names;
    wxFileInputStream file(wxString::FromUTF8(content.string()));
    wxZipInputStream zip(file, wxConvUTF8);
    for (std::unique_ptr<wxZipEntry> entry(zip.GetNextEntry()); entry;
         entry.reset(zip.GetNextEntry())) {
        names.insert(entry->GetName(wxPATH_UNIX).utf8_string());
    }
    return names;
}

// Each button on a row of its own, so that none lies over another.
std::string ActionButton(const std::string& name, const std::string& action) {
    static int row = 0;
    const std::string y = std::to_string(40 + 60 * (row++ % 8));
    return "<state-button type-name=\"lum-state-button-action\" name=\"" + name +
           "\"><center x=\"100\" y=\"" + y + "\"/><action " + action + "/></state-button>";
}

// A menu folder whose page shows art/logo.png and has the given buttons.
void WriteMenu(const testsupport::TempFolder& folder, const std::string& name,
               const std::string& buttons) {
    graphics::InstallPictureHandlers();  // for the picture's bytes
    folder.Write(name + "/product.xml",
                 "<product title=\"Disc\"><clientsize width=\"800\" height=\"600\"/><pages><page "
                 "name=\"main\"><document version=\"1\">"
                 "<image name=\"logo\"><attachment-bitmap name=\"art/logo.png\"/></image>" +
                     buttons + "</document></page></pages></product>");
    folder.Write(name + "/art/logo.png", lumtest::PngBytes(4, 4));
}

// A menu folder is packed as pack packs it, and the files its actions name go beside the
// content file, in their folders, executable where they were.
TEST(MediumTest, AMenuFolderIsPackedAndTheDiscsFilesGoBesideIt) {
    testsupport::TempFolder folder;
    WriteMenu(folder, "menu",
              ActionButton("install", "type=\"run-file\" file=\"Setup\\install.sh\"") +
                  ActionButton("docs", "type=\"open-folder\" folder=\"docs\"") +
                  ActionButton("empty", "type=\"open-folder\" folder=\"empty\""));
    const fs::path installer = folder.Write("menu/setup/install.sh", "#!/bin/sh\n");
    fs::permissions(installer, fs::perms::owner_all);
    folder.Write("menu/docs/a.txt", "a");
    folder.Write("menu/docs/more/b.txt", "b");
    fs::create_directories(folder / "menu/empty");
    folder.Write("menu/notes.txt", "the author's notes");
    const fs::path medium = folder / "out";
    const auto run = RunTool("medium " + Quoted(folder / "menu") + " -o " + Quoted(medium), folder);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(EntryNames(medium / "content.lum"),
              (std::set<std::string>{"product.xml", "art/logo.png"}));
    EXPECT_TRUE(RunsForEveryone(medium / "setup/install.sh"));
    EXPECT_EQ(Bytes(medium / "docs/a.txt"), "a");
    EXPECT_EQ(Bytes(medium / "docs/more/b.txt"), "b");
    EXPECT_TRUE(fs::is_directory(medium / "empty"));
    EXPECT_FALSE(fs::exists(medium / "notes.txt"));
    EXPECT_FALSE(fs::exists(medium / "art"));
    EXPECT_TRUE(RunsForEveryone(medium / "lumplayer"));
    EXPECT_NE(run.out.find("3 files for the disc, copied beside content.lum: docs/a.txt, "
                           "docs/more/b.txt, setup/install.sh\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("1 file nothing references, left out: notes.txt\n"), std::string::npos)
        << run.out;
    // The medium plays as the folder does: its check finds every file on it.
    const auto check = RunTool("check " + Quoted(medium / "content.lum"), folder);
    EXPECT_EQ(check.status, 0) << check.out << check.err;
    // Left beside a content file, they go onto a medium from it the same way.
    const auto again = RunTool(
        "medium " + Quoted(medium / "content.lum") + " -o " + Quoted(folder / "copy"), folder);
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(Bytes(folder / "copy/docs/more/b.txt"), "b");
    EXPECT_TRUE(RunsForEveryone(folder / "copy/setup/install.sh"));
}

// A file that an action names and that is nowhere: each is named, and nothing is written,
// neither a new medium nor over an old one.
TEST(MediumTest, NamesThatAreNotOnTheDiscAreRefusedBeforeAnythingIsWritten) {
    testsupport::TempFolder folder;
    WriteMenu(folder, "menu",
              ActionButton("install", "type=\"run-file\" file=\"setup/instal.sh\"") +
                  ActionButton("docs", "type=\"open-folder\" folder=\"documents\"") +
                  ActionButton("fine", "type=\"run-file\" file=\"setup/install.sh\""));
    folder.Write("menu/setup/install.sh", "#!/bin/sh\n");
    const auto fresh =
        RunTool("medium " + Quoted(folder / "menu") + " -o " + Quoted(folder / "out"), folder);
    EXPECT_EQ(fresh.status, 1) << fresh.err;
    EXPECT_NE(fresh.err.find("lumtool: page 'main', state-button 'install' at "), std::string::npos)
        << fresh.err;
    EXPECT_NE(fresh.err.find(": runs 'setup/instal.sh', which is not on the disc (looked in '" +
                             (folder / "menu").string() + "'); did you mean 'setup/install.sh'?"),
              std::string::npos)
        << fresh.err;
    EXPECT_NE(fresh.err.find("opens the folder 'documents', which is not on the disc"),
              std::string::npos)
        << fresh.err;
    EXPECT_NE(fresh.err.find("2 names that actions give are not on the disc; nothing written"),
              std::string::npos)
        << fresh.err;
    EXPECT_FALSE(fs::exists(folder / "out"));

    const auto old =
        RunTool("medium " + Quoted(DEMO_CONTENT) + " -o " + Quoted(folder / "old"), folder);
    ASSERT_EQ(old.status, 0) << old.err;
    const std::string before = Bytes(folder / "old/content.lum");
    const auto over =
        RunTool("medium " + Quoted(folder / "menu") + " -o " + Quoted(folder / "old"), folder);
    EXPECT_EQ(over.status, 1) << over.err;
    EXPECT_EQ(Bytes(folder / "old/content.lum"), before);
    EXPECT_EQ(Bytes(folder / "old/setup/install.sh"),
              Bytes(fs::path(DEMO_CONTENT).parent_path() / "setup/install.sh"));
}

// A medium takes only what lies on the disc, writes nothing through a link where a disc file
// goes, and leaves its own files to itself.
TEST(MediumTest, TheDiscsFilesNeverLeadOrGoElsewhere) {
    testsupport::TempFolder folder;
    const fs::path secret = folder.Write("home/secret.txt", "private");
    WriteMenu(folder, "menu", ActionButton("docs", "type=\"open-folder\" folder=\"docs\""));
    folder.Write("menu/docs/a.txt", "a");
    fs::create_symlink(secret, folder / "menu/docs/key.txt");
    const auto outward =
        RunTool("medium " + Quoted(folder / "menu") + " -o " + Quoted(folder / "out"), folder);
    EXPECT_EQ(outward.status, 2);
    EXPECT_NE(outward.err.find("links lead out of the menu folder: 'docs/key.txt'; a medium takes "
                               "only the folder's own files"),
              std::string::npos)
        << outward.err;
    EXPECT_FALSE(fs::exists(folder / "out"));

    fs::remove(folder / "menu/docs/key.txt");
    fs::create_directories(folder / "linked");
    fs::create_symlink(folder / "home", folder / "linked/docs");
    const auto through =
        RunTool("medium " + Quoted(folder / "menu") + " -o " + Quoted(folder / "linked"), folder);
    EXPECT_EQ(through.status, 2);
    EXPECT_NE(through.err.find("/linked/docs': it is a symbolic link"), std::string::npos)
        << through.err;
    EXPECT_FALSE(fs::exists(folder / "home/a.txt"));
    EXPECT_FALSE(fs::exists(folder / "linked/content.lum"));  // the swap was undone whole
    EXPECT_TRUE(fs::is_symlink(folder / "linked/docs"));

    WriteMenu(folder, "own", ActionButton("x", "type=\"run-file\" file=\"LUMPLAYER\""));
    folder.Write("own/lumplayer", "a file of the author's");
    const auto own =
        RunTool("medium " + Quoted(folder / "own") + " -o " + Quoted(folder / "own-out"), folder);
    EXPECT_EQ(own.status, 2);
    EXPECT_NE(own.err.find("would take the place of the medium's own 'lumplayer'"),
              std::string::npos)
        << own.err;
    const auto inside = RunTool(
        "medium " + Quoted(folder / "own") + " -o " + Quoted(folder / "own/medium"), folder);
    EXPECT_EQ(inside.status, 2);
    EXPECT_NE(inside.err.find("must not be inside the menu folder"), std::string::npos)
        << inside.err;

    // A FIFO that an action names would block the copy: it is left out, and said so.
    WriteMenu(folder, "piped", ActionButton("p", "type=\"run-file\" file=\"pipe\""));
    ASSERT_EQ(mkfifo((folder / "piped/pipe").c_str(), 0644), 0);
    const auto piped = RunTool(
        "medium " + Quoted(folder / "piped") + " -o " + Quoted(folder / "piped-out"), folder);
    EXPECT_EQ(piped.status, 0) << piped.out << piped.err;
    EXPECT_NE((piped.out + piped.err).find("'pipe' is not a regular file; not copied"),
              std::string::npos)
        << piped.out << piped.err;
    EXPECT_FALSE(fs::exists(folder / "piped-out/pipe"));
}

TEST(MediumTest, BadInputIsRefusedBeforeAnythingIsWritten) {
    testsupport::TempFolder folder;
    folder.Write("plain.txt", "not a zip");
    const std::wstring noDescription =
        lumtest::WriteArchive(folder, "nodescription.lum", {{"art/a.png", "x"}});
    const std::wstring broken =
        lumtest::WriteArchive(folder, "broken.lum", {{"product.xml", "<product>"}});
    const std::string out = " -o " + Quoted(folder / "out");
    const std::string demo = Quoted(DEMO_CONTENT);
    const struct {
        std::string arguments;
        std::string message;
    } cases[] = {
        {"medium", "no CONTENT given"},
        {"medium " + demo, "no -o FOLDER given"},
        {"medium " + demo + " -o", "-o needs a value"},
        {"medium " + Quoted(folder / "missing.lum") + out, "no such file"},
        {"medium " + Quoted(folder / "plain.txt") + out, "not a ZIP archive"},
        {"medium " + Quoted(fs::path(noDescription)) + out, "no product.xml"},
        {"medium " + Quoted(fs::path(broken)) + out, "not well-formed XML"},
        {"medium " + demo + out + " --label X", "give --iso FILE.iso too"},
        {"medium " + demo + out + " --verbose", "unknown option '--verbose'"},
        {"medium " + demo + " -o " + Quoted(folder / "plain.txt"), "is not a folder"},
        {"medium " + demo + out + " --iso " + Quoted(folder / "out/disc.iso"),
         "must not be inside"},
        {"medium " + demo + out + " --iso " + Quoted(folder / "nowhere/disc.iso"),
         "does not exist"},
    };
    for (const auto& badCase : cases) {
        const auto run = RunTool(badCase.arguments, folder);
        EXPECT_EQ(run.status, 2) << badCase.arguments;
        EXPECT_NE(run.err.find(badCase.message), std::string::npos)
            << badCase.arguments << ": " << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    EXPECT_FALSE(fs::exists(folder / "out"));
}

TEST(MediumTest, XorrisoMissingOrFailingIsReportedClearly) {
    testsupport::TempFolder folder;
    const std::string arguments = "medium " + Quoted(DEMO_CONTENT) + " -o " +
                                  Quoted(folder / "out") + " --iso " + Quoted(folder / "disc.iso");
    fs::create_directory(folder / "empty-bin");
    const auto missing = RunTool(arguments, folder, "PATH=" + Quoted(folder / "empty-bin"));
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("xorriso is not installed (Debian package xorriso)"),
              std::string::npos)
        << missing.err;
    EXPECT_FALSE(fs::exists(folder / "out"));

    // One that fails: its reason is passed on, and no image, not even a part, stays behind.
    folder.Write("failing-bin/xorriso",
                 "#!/bin/sh\necho 'xorriso : UPDATE : working' >&2\n"
                 "echo 'xorriso : FAILURE : no space left on the medium' >&2\n"
                 "echo 'xorriso : aborting' >&2\nexit 5\n");
    fs::permissions(folder / "failing-bin/xorriso", fs::perms::owner_all);
    const auto failing = RunTool(arguments, folder, "PATH=" + Quoted(folder / "failing-bin"));
    EXPECT_EQ(failing.status, 2);
    EXPECT_NE(failing.err.find("xorriso could not write '" + (folder / "disc.iso").string() +
                               "': xorriso : FAILURE : no space left on the medium"),
              std::string::npos)
        << failing.err;
    EXPECT_FALSE(fs::exists(folder / "disc.iso"));
    EXPECT_FALSE(fs::exists(folder / "disc.iso.part"));
}

// lumtool copied elsewhere finds no player files beside it, and says where it looked; once
// they sit where an installation puts them, it uses those.
TEST(MediumTest, ThePlayersFilesAreFoundBesideLumtoolOrNamedAsMissing) {
    testsupport::TempFolder folder;
    const fs::path tool = folder / "prefix/bin/lumtool";
    fs::create_directories(tool.parent_path());
    fs::copy_file(LUMTOOL_PATH, tool);
    const std::string arguments =
        "medium " + Quoted(DEMO_CONTENT) + " -o " + Quoted(folder / "out");
    const auto missing = RunProgram(tool.string(), arguments, folder);
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("the player's files for a medium are missing"), std::string::npos)
        << missing.err;
    EXPECT_NE(missing.err.find((folder / "prefix/bin/medium-runtime").string()), std::string::npos);
    EXPECT_NE(missing.err.find((folder / "prefix/lib/lumplayer/medium").string()),
              std::string::npos);
    EXPECT_FALSE(fs::exists(folder / "out"));

    folder.Write("prefix/lib/lumplayer/medium/lumplayer", "#!/bin/sh\n");
    folder.Write("prefix/lib/lumplayer/medium/autorun.sh", "#!/bin/sh\n");
    folder.Write("prefix/lib/lumplayer/medium/.lumplayer/bin/lumplayer", "player");
    folder.Write("prefix/lib/lumplayer/medium/.lumplayer/lib/libwx_baseu-3.2.so.0", "library");
    const auto installed = RunProgram(tool.string(), arguments, folder);
    EXPECT_EQ(installed.status, 0) << installed.err;
    EXPECT_EQ(Bytes(folder / "out/.lumplayer/lib/libwx_baseu-3.2.so.0"), "library");
    EXPECT_TRUE(RunsForEveryone(folder / "out/.lumplayer/bin/lumplayer"));
}

// Names that read as options reach xorriso as paths: "-o -v" is the folder "./-v", and the
// image is of that folder, not an empty one.
TEST(MediumTest, OptionLikeNamesReachXorrisoAsPaths) {
    testsupport::TempFolder folder;
    const fs::path before = fs::current_path();
    fs::current_path(folder.Path());
    const auto run = RunTool("medium " + Quoted(DEMO_CONTENT) + " -o -v --iso out.iso", folder);
    const auto listing =
        lumtooltest::RunProgram("/usr/bin/xorriso", "-indev out.iso -find / -type f", folder);
    fs::current_path(before);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Bytes(folder / "-v/content.lum"), Bytes(DEMO_CONTENT));
    EXPECT_NE(listing.out.find("'/content.lum'"), std::string::npos) << listing.out << listing.err;
    EXPECT_NE(listing.out.find("'/.lumplayer/bin/lumplayer'"), std::string::npos) << listing.out;
}

// The image never replaces a file somewhere else through a link, nor the content file.
TEST(MediumTest, AnImageThatIsALinkOrAnInputIsRefused) {
    testsupport::TempFolder folder;
    const fs::path elsewhere = folder.Write("elsewhere/keep.iso", "not to be overwritten");
    fs::create_symlink(elsewhere, folder / "disc.iso");
    const std::string start =
        "medium " + Quoted(DEMO_CONTENT) + " -o " + Quoted(folder / "out") + " --iso ";
    const auto refused = RunTool(start + Quoted(folder / "disc.iso"), folder);
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("is a symbolic link; give --through-link"), std::string::npos)
        << refused.err;
    EXPECT_EQ(Bytes(elsewhere), "not to be overwritten");
    EXPECT_FALSE(fs::exists(folder / "out"));

    const auto through = RunTool(start + Quoted(folder / "disc.iso") + " --through-link", folder);
    ASSERT_EQ(through.status, 0) << through.err;
    EXPECT_TRUE(fs::is_symlink(folder / "disc.iso"));
    EXPECT_EQ(Bytes(elsewhere).substr(0x8001, 5), "CD001");  // the volume descriptor

    const fs::path content = folder / "menu.lum";
    fs::copy_file(DEMO_CONTENT, content);
    const auto itself = RunTool("medium " + Quoted(content) + " -o " + Quoted(folder / "out2") +
                                    " --iso " + Quoted(content),
                                folder);
    EXPECT_EQ(itself.status, 2);
    EXPECT_NE(itself.err.find("which the medium is made from"), std::string::npos) << itself.err;
    EXPECT_EQ(Bytes(content), Bytes(DEMO_CONTENT));
}

// A folder handed over with links where the medium's files go: the links are replaced, and
// what they point to stays as it was.
TEST(MediumTest, LinksInTheTargetAreReplacedNotWrittenThrough) {
    testsupport::TempFolder folder;
    const fs::path secret = folder.Write("home/secret.txt", "keep me");
    folder.Write("home/lib/libkeep.so", "keep me too");
    const fs::path medium = folder / "handed over";
    fs::create_directories(medium);
    fs::create_symlink(secret, medium / "content.lum");
    fs::create_symlink(secret, medium / "lumplayer");
    fs::create_symlink(folder / "home", medium / ".lumplayer");
    const auto run = RunTool("medium " + Quoted(DEMO_CONTENT) + " -o " + Quoted(medium), folder);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Bytes(secret), "keep me");
    EXPECT_EQ(Bytes(folder / "home/lib/libkeep.so"), "keep me too");
    EXPECT_FALSE(fs::is_symlink(medium / "content.lum"));
    EXPECT_FALSE(fs::is_symlink(medium / ".lumplayer"));
    EXPECT_EQ(Bytes(medium / "content.lum"), Bytes(DEMO_CONTENT));
    EXPECT_TRUE(RunsForEveryone(medium / "lumplayer"));
    EXPECT_TRUE(RunsForEveryone(medium / ".lumplayer/bin/lumplayer"));
}

// autorun.inf as Windows reads it: UTF-16 with a byte order mark, here turned back to UTF-8
// for ASCII and two-byte letters.
std::string AutorunText(const fs::path& file) {
    const std::string bytes = Bytes(file);
    if (bytes.size() < 2 || bytes.substr(0, 2) != "\xff\xfe") return "no byte order mark";
    std::string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        const unsigned unit =
            static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (unit < 0x80) {
            text += static_cast<char>(unit);
        } else {
            text += static_cast<char>(0xC0 | unit >> 6);
            text += static_cast<char>(0x80 | (unit & 0x3F));
        }
    }
    return text;
}

TEST(MediumTest, AWindowsPlayerAtHandGoesOnTheMediumWithAutorunInf) {
    testsupport::TempFolder folder;
    const fs::path player =
        folder.Write("build/lumplayer.exe", std::string("MZ\x90\0windows player", 18));
    const auto run = RunTool("medium " + Quoted(DEMO_CONTENT) + " -o " + Quoted(folder / "out") +
                                 " --windows-player " + Quoted(player),
                             folder);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Bytes(folder / "out/lumplayer.exe"), Bytes(player));
    EXPECT_TRUE(RunsForEveryone(folder / "out/lumplayer"));  // the Linux half stays
    EXPECT_EQ(AutorunText(folder / "out/autorun.inf"),
              "[autorun]\r\nopen=lumplayer.exe\r\nicon=lumplayer-demo.ico\r\n"
              "label=Lumplayer Demo Disc\r\n");

    // Without one the medium is for Linux alone, and says so.
    const auto linuxOnly =
        RunTool("medium " + Quoted(DEMO_CONTENT) + " -o " + Quoted(folder / "linux"), folder);
    ASSERT_EQ(linuxOnly.status, 0) << linuxOnly.err;
    EXPECT_FALSE(fs::exists(folder / "linux/lumplayer.exe"));
    EXPECT_FALSE(fs::exists(folder / "linux/autorun.inf"));
    EXPECT_NE(linuxOnly.out.find("no Windows player"), std::string::npos) << linuxOnly.out;
}

TEST(MediumTest, AWindowsPlayerThatIsNoneIsRefusedBeforeAnythingIsWritten) {
    testsupport::TempFolder folder;
    const fs::path script = folder.Write("lumplayer.exe", "#!/bin/sh\n");
    const std::string start = "medium " + Quoted(DEMO_CONTENT) + " -o " + Quoted(folder / "out");
    const auto notWindows = RunTool(start + " --windows-player " + Quoted(script), folder);
    EXPECT_EQ(notWindows.status, 2);
    EXPECT_NE(notWindows.err.find("is not a Windows program"), std::string::npos) << notWindows.err;
    const auto missing =
        RunTool(start + " --windows-player " + Quoted(folder / "nothing.exe"), folder);
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("no such Windows player"), std::string::npos) << missing.err;
    EXPECT_FALSE(fs::exists(folder / "out"));
}

TEST(AutorunInfTest, TheProductCannotAddLinesOrPointOutsideTheMedium) {
    using lumtool::AutorunInf;
    EXPECT_EQ(AutorunInf("Menü", "art/disc.ico"),
              "[autorun]\r\nopen=lumplayer.exe\r\nicon=art\\disc.ico\r\nlabel=Menü\r\n");
    // A title with line breaks stays one label line.
    EXPECT_EQ(AutorunInf("Menu\r\n[autorun]\r\nopen=evil.exe", ""),
              "[autorun]\r\nopen=lumplayer.exe\r\nicon=lumplayer.exe,0\r\n"
              "label=Menu  [autorun]  open=evil.exe\r\n");
    // Icons that are not on the medium give way to the player's own.
    for (const char* icon : {"../outside.ico", "art/../../up.ico", "/etc/icon.ico", "C:\\x.ico",
                             "\\\\server\\share\\x.ico", "  "}) {
        EXPECT_NE(AutorunInf("T", icon).find("icon=lumplayer.exe,0\r\n"), std::string::npos)
            << icon;
    }
    // No title, no label line.
    EXPECT_EQ(AutorunInf("", "").find("label="), std::string::npos);
}

TEST(VolumeLabelTest, FitsThirtyTwoBytesWithoutSplittingALetter) {
    EXPECT_EQ(lumtool::VolumeLabel("Lumplayer Demo Disc"), "Lumplayer Demo Disc");
    EXPECT_EQ(lumtool::VolumeLabel("Line\nbreak\tand tab"), "Line break and tab");
    const std::string exact(32, 'a');
    EXPECT_EQ(lumtool::VolumeLabel(exact + "b"), exact);
    // "ü" is two bytes: at bytes 31 and 32 it does not fit, and goes whole.
    EXPECT_EQ(lumtool::VolumeLabel(std::string(31, 'a') + "\xc3\xbc"), std::string(31, 'a'));
    EXPECT_EQ(lumtool::VolumeLabel(std::string(30, 'a') + "\xc3\xbc!"),
              std::string(30, 'a') + "\xc3\xbc");
    // A three-byte letter from byte 31 on.
    EXPECT_EQ(lumtool::VolumeLabel(std::string(30, 'a') + "\xe2\x82\xac"), std::string(30, 'a'));
}

}  // namespace
