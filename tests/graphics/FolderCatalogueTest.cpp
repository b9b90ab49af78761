// The folder catalogue: an unpacked menu folder read by the rules of the content file packed
// from it. Each test puts the same files in a folder and, written the way "lumtool pack" writes
// them, in a ZIP archive, and asks both catalogues the same questions.

#include "graphics/FolderCatalogue.h"

#include <gtest/gtest.h>
#include <wx/mstream.h>
#include <wx/wfstream.h>
#include <wx/zipstrm.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "TestSupport.h"
#include "graphics/ContentFolder.h"
#include "graphics/ContentSource.h"
#include "graphics/ZipArchive.h"

#ifndef _WIN32  // links and FIFOs as POSIX has them
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;
using graphics::CCatalogue;

std::string Read(CCatalogue& catalogue, const std::wstring& name) {
    if (!catalogue.OpenEntry(name)) return "<missing>";
    std::string text;
    char buffer[256];
    while (true) {
        catalogue.GetStream().Read(buffer, sizeof buffer);
        const size_t got = catalogue.GetStream().LastRead();
        if (got == 0) break;
        text.append(buffer, got);
    }
    return text;
}

// A 3 x 2 PNG file.
std::string PngFile() {
    wxImage image(3, 2);
    wxMemoryOutputStream out;
    image.SaveFile(out, wxBITMAP_TYPE_PNG);
    std::string bytes(out.GetSize(), '\0');
    out.CopyTo(bytes.data(), bytes.size());
    return bytes;
}

// Packs the folder as "lumtool pack" does: the listing of ListContentFiles, one entry each.
void Pack(const fs::path& folder, const fs::path& output) {
    wxFileOutputStream file(wxString(output.string()));
    wxZipOutputStream zip(file, -1, wxConvUTF8);
    for (const graphics::SContentFile& entry : graphics::ListContentFiles(folder)) {
        ASSERT_FALSE(entry.name.empty()) << entry.relative;
        std::ifstream in(entry.path, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), {});
        zip.PutNextEntry(entry.name);
        zip.Write(bytes.data(), bytes.size());
        zip.CloseEntry();
    }
    zip.Close();
}

class FolderCatalogueTest : public testing::Test {
protected:
    void SetUp() override {
#ifdef _WIN32
        // The folder holds links and a name with a backslash in it, which Windows has not.
        GTEST_SKIP() << "a Linux folder with links and Linux-only names";
#endif
        m_content = m_temp.Path() / "menu";
        Put("product.xml", "<product/>");
        Put("pics/red.png", "red");
        Put("Case.TXT", "cased");
        Put("odd\\name.txt", "a backslash in a Linux file name");
        Put("\xc3\x9c"
            "bung/\xe2\x82\xac.bin",
            "euro");
        fs::create_symlink("pics/red.png", m_content / "linked.png");
        fs::create_symlink("pics", m_content / "shared");
        fs::create_symlink("nowhere.png", m_content / "gone.png");
        Pack(m_content, m_temp.Path() / "menu.lum");
        m_archive = std::make_unique<graphics::CZipArchive>((m_temp.Path() / "menu.lum").wstring());
        ASSERT_TRUE(m_archive->IsOk());
        m_folder = tarn::New<graphics::CFolderCatalogue>(m_content);
    }

    void Put(const std::string& name, const std::string& bytes) {
        const fs::path file = m_content / name;
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
    }

    // Both catalogues, the packed one first.
    std::vector<CCatalogue*> Both() { return {&m_archive->GetCatalogue(), m_folder.Get()}; }

    testsupport::TempFolder m_temp;
    fs::path m_content;
    std::unique_ptr<graphics::CZipArchive> m_archive;
    tarn::P<graphics::CFolderCatalogue> m_folder;
};

TEST_F(FolderCatalogueTest, HoldsTheEntriesOfThePackedFileInItsOrder) {
    const std::vector<wxString> packed = m_archive->GetCatalogue().GetEntryNames();
    EXPECT_EQ(m_folder->GetEntryNames(), packed);
    EXPECT_EQ(m_folder->GetEntryCount(), m_archive->GetCatalogue().GetEntryCount());
    ASSERT_FALSE(packed.empty());
    EXPECT_EQ(packed.front(), "product.xml");
    // A linked file under the link's own name; a linked folder and a dead link not at all.
    EXPECT_NE(std::find(packed.begin(), packed.end(), "linked.png"), packed.end());
    EXPECT_EQ(std::find(packed.begin(), packed.end(), "shared/red.png"), packed.end());
    EXPECT_EQ(std::find(packed.begin(), packed.end(), "gone.png"), packed.end());
}

TEST_F(FolderCatalogueTest, FindsAndMissesTheSameNames) {
    const std::vector<std::pair<std::wstring, std::string>> lookups{
        {L"product.xml", "<product/>"},   {L"pics/red.png", "red"},
        {L"pics\\red.png", "red"},        {L"./pics/red.png", "red"},
        {L".\\pics\\red.png", "red"},     {L"/pics/red.png", "red"},
        {L"linked.png", "red"},           {L"Case.TXT", "cased"},
        {L"case.txt", "<missing>"},  // names compare with letter case, packed or not
        {L"CASE.TXT", "<missing>"},       {L"Pics/Red.png", "<missing>"},
        {L"odd\\name.txt", "<missing>"},  // the request's "\" is a separator
        {L"odd/name.txt", "<missing>"},   {L"\u00dcbung/\u20ac.bin", "euro"},
        {L"shared/red.png", "<missing>"}, {L"gone.png", "<missing>"},
        {L"pics", "<missing>"},           {L"", "<missing>"},
    };
    for (CCatalogue* catalogue : Both()) {
        for (const auto& [name, expected] : lookups) {
            EXPECT_EQ(Read(*catalogue, name), expected) << wxString(name);
            EXPECT_EQ(catalogue->HasEntry(name), expected != "<missing>") << wxString(name);
        }
    }
}

TEST_F(FolderCatalogueTest, LoadsAttachmentsAlike) {
    Put("art/one.png", PngFile());
    Pack(m_content, m_temp.Path() / "again.lum");
    graphics::CZipArchive archive((m_temp.Path() / "again.lum").wstring());
    const auto folder = tarn::New<graphics::CFolderCatalogue>(m_content);
    for (CCatalogue* catalogue : std::vector<CCatalogue*>{&archive.GetCatalogue(), folder.Get()}) {
        wxFileName ignored;
        auto node = testsupport::ParseXml("<e><attachment-bitmap name=\"art\\one.png\"/></e>");
        const auto bitmap = catalogue->LoadBitmap(*node->GetRoot(), L"attachment-bitmap", ignored);
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(bitmap->GetWidth(), 3);
        node = testsupport::ParseXml("<e><chunk name=\"Case.TXT\" size=\"3\"/></e>");
        const auto buffer = catalogue->LoadBuffer(*node->GetRoot(), L"chunk", 1000);
        ASSERT_TRUE(buffer);
        EXPECT_EQ(
            std::string(reinterpret_cast<const char*>(buffer->GetData()), buffer->GetLength()),
            "cas");
        node = testsupport::ParseXml("<e><chunk name=\"case.txt\" size=\"3\"/></e>");
        EXPECT_FALSE(catalogue->LoadBuffer(*node->GetRoot(), L"chunk", 1000));
    }
}

TEST_F(FolderCatalogueTest, NotesEveryNameAskedFor) {
    m_folder->HasEntry(L"pics\\red.png");
    m_folder->OpenEntry(L"missing/new.png");
    m_folder->HasEntry(L"pics/red.png");
    const std::vector<wxString> expected{"pics/red.png", "missing/new.png"};
    EXPECT_EQ(m_folder->GetRequestedNames(), expected);
    EXPECT_EQ(m_folder->FileOf("pics/red.png"), m_content / "pics/red.png");
    EXPECT_EQ(m_folder->FileOf("linked.png"), m_content / "linked.png");
    EXPECT_TRUE(m_folder->FileOf("missing/new.png").empty());
}

TEST_F(FolderCatalogueTest, SaysWhatAPackedFileWouldNotHold) {
    std::vector<std::string> left;
    for (const auto& item : m_folder->GetLeftOut())
        left.push_back(item.relative + " " + item.reason);
    std::sort(left.begin(), left.end());
    const std::vector<std::string> expected{"gone.png is a link to nothing",
                                            "shared is a link to a folder, which is not followed"};
    EXPECT_EQ(left, expected);
}

TEST_F(FolderCatalogueTest, TheContentSourceTellsFoldersFromFiles) {
    graphics::CContentSource folder(m_content.wstring());
    EXPECT_TRUE(folder.IsOk());
    EXPECT_TRUE(folder.IsFolder());
    EXPECT_EQ(Read(folder.GetCatalogue(), L"product.xml"), "<product/>");
    graphics::CContentSource file((m_temp.Path() / "menu.lum").wstring());
    EXPECT_TRUE(file.IsOk());
    EXPECT_FALSE(file.IsFolder());
    EXPECT_EQ(Read(file.GetCatalogue(), L"product.xml"), "<product/>");
    EXPECT_FALSE(graphics::CContentSource((m_temp.Path() / "absent").wstring()).IsOk());
}

// An author's editor saves by writing a new file and renaming it over the old one, which
// Windows refuses while the player still has the old one open.
TEST(FolderCatalogueFileTest, AFileReadIsLetGoSoAnEditorCanReplaceIt) {
    testsupport::TempFolder temp;
    const fs::path text = temp.Write("menu/words.txt", "before");
    temp.Write("menu/product.xml", "<product/>");
    const auto folder = tarn::New<graphics::CFolderCatalogue>(temp.Path() / "menu");
    const auto Replace = [&](const std::string& bytes) {
        temp.Write("menu/words.new", bytes);
        std::error_code error;
        fs::rename(temp.Path() / "menu/words.new", text, error);
        return error ? error.message() : std::string("replaced");
    };
    const auto read = folder->ReadEntry(L"words.txt", 100);
    ASSERT_TRUE(read);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(read->GetData()), read->GetLength()),
              "before");
    EXPECT_EQ(folder->GetStream().GetSize(), 0u) << "the file is still open";
    EXPECT_EQ(Replace("after"), "replaced");

    const auto node = testsupport::ParseXml("<e><chunk name=\"words.txt\" size=\"5\"/></e>");
    const auto buffer = folder->LoadBuffer(*node->GetRoot(), L"chunk", 1000);
    ASSERT_TRUE(buffer);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer->GetData()), buffer->GetLength()),
              "after");
    EXPECT_EQ(Replace("again"), "replaced");
    EXPECT_EQ(Read(*folder, L"words.txt"), "again");
}

#ifndef _WIN32  // links and FIFOs as POSIX has them

// A stranger's folder may link to the player's user's own files: they are not read, and the
// log says so once for each name.
TEST(FolderCatalogueLinkTest, FilesLinkedFromOutsideTheFolderAreMissing) {
    testsupport::TempFolder temp;
    temp.Write("menu/product.xml", "<product/>");
    temp.Write("menu/pics/red.png", PngFile());
    const fs::path outside = temp.Write("home/photo.png", PngFile());
    temp.Write("home/notes.txt", "private");
    fs::create_symlink(outside, temp.Path() / "menu/photo.png");
    fs::create_symlink("../home/notes.txt", temp.Path() / "menu/notes.txt");
    fs::create_symlink("pics/red.png", temp.Path() / "menu/inside.png");
    const auto folder = tarn::New<graphics::CFolderCatalogue>(temp.Path() / "menu");
    const testsupport::CWarnings warnings;
    for (int twice = 0; twice < 2; ++twice) {
        EXPECT_FALSE(folder->HasEntry(L"photo.png"));
        EXPECT_FALSE(folder->ReadEntry(L"photo.png", 1000));
        EXPECT_EQ(Read(*folder, L"notes.txt"), "<missing>");
        EXPECT_EQ(Read(*folder, L"inside.png"), PngFile());
    }
    EXPECT_EQ(
        warnings.Get(),
        (std::vector<std::string>{
            "Picture 'photo.png' is a link that leads out of the menu folder; it is shown "
            "as missing.",
            "File 'notes.txt' is a link that leads out of the menu folder; it is not read."}));
    const std::vector<wxString> names = folder->GetEntryNames();
    EXPECT_EQ(std::count(names.begin(), names.end(), "photo.png"), 0);
    EXPECT_EQ(folder->GetFiles().size(), 5u) << "the outward links stay listed";
}

// A picture that is replaced after the listing by a FIFO, or by a link to a device, is missing
// when it is read, at once: the player must not wait for a writer that never comes.
TEST(FolderCatalogueFileTest, WhatIsNoLongerARegularFileIsMissingWithoutBlocking) {
    testsupport::TempFolder temp;
    temp.Write("menu/product.xml", "<product/>");
    const fs::path fifo = temp.Write("menu/fifo.png", PngFile());
    const fs::path device = temp.Write("menu/zero.png", PngFile());
    const fs::path inner = temp.Write("menu/inner.png", PngFile());
    temp.Write("menu/pipe", "");
    const auto folder = tarn::New<graphics::CFolderCatalogue>(temp.Path() / "menu");
    ASSERT_EQ(folder->GetEntryCount(), 5u);  // listed while all were files

    fs::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::remove(device);
    fs::create_symlink("/dev/zero", device);
    fs::remove(inner);
    fs::remove(temp.Path() / "menu/pipe");
    ASSERT_EQ(::mkfifo((temp.Path() / "menu/pipe").c_str(), 0600), 0);
    fs::create_symlink("pipe", inner);  // a link inside the folder, to a FIFO
    for (const auto& [name, path] : {std::pair{L"fifo.png", fifo}, std::pair{L"zero.png", device},
                                     std::pair{L"inner.png", inner}}) {
        auto read = std::async(std::launch::async,
                               [&, name = name] { return folder->ReadEntry(name, 1 << 20); });
        if (read.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
            ADD_FAILURE() << "reading " << path << " blocks";
            // Give the blocked reader a writer, so that the test can end.
            const int writer = ::open(fs::canonical(path).c_str(), O_WRONLY);
            if (writer >= 0) ::close(writer);
        }
        EXPECT_FALSE(read.get()) << path;
    }
}

#endif  // _WIN32

TEST(ContentFolderTest, Utf8Names) {
    EXPECT_TRUE(graphics::IsUtf8("plain/\xc3\xa4.png"));
    EXPECT_FALSE(graphics::IsUtf8("Bild_\xe4.png"));
    EXPECT_FALSE(graphics::IsUtf8("\xc3"));
    EXPECT_FALSE(graphics::IsUtf8("\xc0\xaf"));      // an overlong "/"
    EXPECT_FALSE(graphics::IsUtf8("\xed\xa0\x80"));  // a surrogate
}

}  // namespace
