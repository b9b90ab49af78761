#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "ContentFile.h"
#include "graphics/ZipArchive.h"
#include "lum/data/Music.h"
#include "lum/data/Translation.h"
#include "lum/data/Volume.h"
#include "tarn/Exception.h"

using namespace lum::data;

namespace {

// Binary bytes with a zero inside, so that a text-only copy would show.
const std::string kSound("RIFF\x04\x00\x00\x00WAVEdata\xff\x00\x7f", 19);

// Reads a "music" element against an archive holding the sound as "snd/theme.wav".
tarn::P<CMusic> ReadMusic(const std::string& xml) {
    testsupport::TempFolder folder;
    const std::wstring path =
        lumtest::WriteArchive(folder, "content.lum", {{"snd/theme.wav", kSound}});
    graphics::CZipArchive archive(path);
    EXPECT_TRUE(archive.IsOk());
    const auto document = lumtest::ParseXml(xml);
    auto music = tarn::New<CMusic>();
    music->ReadXml(*document->GetRoot(), &archive.GetCatalogue());
    return music;
}

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

tarn::P<CVolume> ReadVolume(const std::string& xml) {
    const auto document = lumtest::ParseXml(xml);
    auto volume = tarn::New<CVolume>();
    volume->ReadXml(*document->GetRoot(), nullptr);
    return volume;
}

}  // namespace

TEST(Music, ReadsTheSoundAndWritesItToAFile) {
    const auto music = ReadMusic(
        "<music filename=\"C:\\snd\\theme.wav\" loop=\"TRUE\">"
        "<Buffer format=\"wav\"><chunk name=\"snd/theme.wav\" size=\"19\"/></Buffer></music>");
    ASSERT_FALSE(music->IsEmpty());
    EXPECT_TRUE(music->IsLoop());
    EXPECT_EQ(music->GetFormat(), L"wav");
    EXPECT_EQ(music->GetFileName().GetFullPath(), L"C:\\snd\\theme.wav");

    testsupport::TempFolder out;
    const auto target = out / "copy.wav";
    out.Write("copy.wav", "longer old content that must go away");
    EXPECT_TRUE(music->WriteTo(wxFileName(target.wstring())));
    EXPECT_EQ(FileBytes(target), kSound);
    // A folder that does not exist is a failure, not a silent success.
    EXPECT_FALSE(music->WriteTo(wxFileName((out / "no/such/dir/x.wav").wstring())));
}

TEST(Music, MissingOrBrokenDataLeavesItEmpty) {
    const char* cases[] = {
        "<music loop=\"true\"/>",
        "<music><buffer format=\"wav\"/></music>",
        "<music><buffer format=\"wav\"><chunk name=\"snd/other.wav\" size=\"19\"/></buffer></music>",
        "<music><buffer format=\"wav\"><chunk name=\"snd/theme.wav\" size=\"0\"/></buffer></music>",
        "<music><buffer format=\"wav\"><chunk name=\"snd/theme.wav\"/></buffer></music>",
    };
    for (const char* xml : cases) {
        const auto music = ReadMusic(xml);
        EXPECT_TRUE(music->IsEmpty()) << xml;
        testsupport::TempFolder out;
        EXPECT_FALSE(music->WriteTo(wxFileName((out / "x.wav").wstring())));
        EXPECT_FALSE(std::filesystem::exists(out / "x.wav"));
    }
    EXPECT_FALSE(ReadMusic("<music loop=\"yes\"/>")->IsLoop());
}

TEST(Music, ShortChunkSizeLimitsTheData) {
    const auto music = ReadMusic(
        "<music><buffer><chunk name=\"snd/theme.wav\" size=\"4\"/></buffer></music>");
    ASSERT_FALSE(music->IsEmpty());
    EXPECT_EQ(music->GetData()->GetLength(), 4u);
}

TEST(Translation, ReadsItsFourAttributes) {
    const auto document = lumtest::ParseXml(
        "<t id=\"title\" default=\"Welcome\" translation=\"Willkommen\" language=\"de-de\"/>");
    CTranslation translation(L"old", L"d", L"keep", L"en-us");
    translation.ReadXml(*document->GetRoot(), nullptr);
    EXPECT_EQ(translation.GetId(), L"title");
    EXPECT_EQ(translation.GetDefault(), L"Welcome");
    EXPECT_EQ(translation.GetTranslation(), L"Willkommen");
    EXPECT_EQ(translation.GetLanguage(), L"de-de");

    const auto partial = lumtest::ParseXml("<t id=\"x\"/>");
    translation.ReadXml(*partial->GetRoot(), nullptr);
    EXPECT_EQ(translation.GetId(), L"x");
    EXPECT_EQ(translation.GetTranslation(), L"Willkommen");
}

TEST(Volume, ReadsFoldersAndFilesInOrder) {
    const auto volume = ReadVolume(
        "<volume name=\"DISC\" origin=\"D:\\\">"
        "<Folder name=\"docs\" origin=\"C:\\menu\\docs\">"
        "<file name=\"a.pdf\" size=\"5000000000\" origin=\"C:\\menu\\docs\\a.pdf\"/>"
        "<folder name=\"empty\"/></Folder>"
        "<dir name=\"skipped\"/><FILE name=\"setup.exe\" size=\"12\"/></volume>");
    EXPECT_EQ(volume->GetName(), L"DISC");
    ASSERT_EQ(volume->GetChildCount(), 2u);
    const auto docs = tarn::Cast<CVolumeFolder>(volume->GetChild(0));
    ASSERT_TRUE(docs);
    EXPECT_EQ(docs->GetName(), L"docs");
    EXPECT_EQ(docs->GetParent(), volume.Get());
    ASSERT_EQ(docs->GetChildCount(), 2u);
    const auto pdf = tarn::Cast<CVolumeFile>(docs->GetChild(0));
    ASSERT_TRUE(pdf);
    EXPECT_EQ(pdf->GetSize(), 5000000000LL);
    EXPECT_EQ(pdf->GetParent(), docs.Get());
    EXPECT_TRUE(docs->GetChild(1)->IsFolder());
    const auto setup = tarn::Cast<CVolumeFile>(volume->GetChild(1));
    ASSERT_TRUE(setup);
    EXPECT_EQ(setup->GetName(), L"setup.exe");
}

TEST(Volume, RootKeepsItsLocalizedNameWithoutAttribute) {
    EXPECT_EQ(ReadVolume("<volume/>")->GetName(), L"Root");
    EXPECT_EQ(ReadVolume("<volume/>")->GetParent(), nullptr);
}

TEST(Volume, WritesWhatItReads) {
    const auto volume = ReadVolume(
        "<volume name=\"DISC\"><folder name=\"docs\" origin=\"/src/docs\">"
        "<file name=\"a.pdf\" size=\"77\" origin=\"/src/docs/a.pdf\"/></folder>"
        "<file name=\"b.txt\" size=\"3\"/></volume>");
    wxXmlNode node(wxXML_ELEMENT_NODE, "volume");
    volume->WriteXml(node, nullptr);
    EXPECT_EQ(node.GetAttribute("name"), "DISC");
    EXPECT_FALSE(node.HasAttribute("origin"));

    auto again = tarn::New<CVolume>();
    again->ReadXml(node, nullptr);
    ASSERT_EQ(again->GetChildCount(), 2u);
    const auto docs = tarn::Cast<CVolumeFolder>(again->GetChild(0));
    ASSERT_TRUE(docs);
    EXPECT_EQ(docs->GetOrigin().GetPath(), wxFileName("/src/docs/").GetPath());
    const auto pdf = tarn::Cast<CVolumeFile>(docs->GetChild(0));
    ASSERT_TRUE(pdf);
    EXPECT_EQ(pdf->GetSize(), 77);
    EXPECT_EQ(pdf->GetOrigin().GetFullPath(), wxFileName("/src/docs/a.pdf").GetFullPath());
    EXPECT_FALSE(again->GetChild(1)->IsFolder());
}

TEST(Volume, CopiesAreDeepAndCopyingAFileIntoAFolderRaises) {
    const auto volume = ReadVolume(
        "<volume name=\"DISC\"><folder name=\"docs\"><file name=\"a\" size=\"1\"/></folder>"
        "</volume>");
    const auto clone = tarn::Cast<CVolume>(volume->Clone());
    ASSERT_TRUE(clone);
    const auto clonedDocs = tarn::Cast<CVolumeFolder>(clone->GetChild(0));
    ASSERT_TRUE(clonedDocs);
    EXPECT_NE(clonedDocs.Get(), volume->GetChild(0).Get());
    EXPECT_EQ(clonedDocs->GetParent(), clone.Get());
    clonedDocs->SetName(L"changed");
    tarn::Cast<CVolumeFile>(clonedDocs->GetChild(0))->SetSize(99);
    const auto docs = tarn::Cast<CVolumeFolder>(volume->GetChild(0));
    EXPECT_EQ(docs->GetName(), L"docs");
    EXPECT_EQ(tarn::Cast<CVolumeFile>(docs->GetChild(0))->GetSize(), 1);

    auto file = tarn::New<CVolumeFile>();
    EXPECT_THROW(volume->CopyFrom(*file), tarn::CCastError);
    EXPECT_EQ(volume->GetChildCount(), 1u);
    volume->CopyFrom(*volume);
    EXPECT_EQ(volume->GetChildCount(), 1u);
}

TEST(Volume, ChildrenAndParents) {
    auto root = tarn::New<CVolume>();
    auto folder = tarn::New<CVolumeFolder>();
    auto file = tarn::New<CVolumeFile>();
    root->AddChild(folder);
    folder->AddChild(file);
    root->AddChild(file);
    EXPECT_EQ(file->GetParent(), root.Get());
    // A folder can hold neither itself nor one of its ancestors.
    EXPECT_THROW(folder->AddChild(folder), tarn::CInvalidArgError);
    EXPECT_THROW(folder->AddChild(root), tarn::CInvalidArgError);
    EXPECT_THROW(folder->AddChild(nullptr), tarn::CInvalidArgError);

    root->RemoveChild(file);
    EXPECT_EQ(root->GetChildCount(), 1u);
    EXPECT_EQ(file->GetParent(), nullptr);
    root.Reset();
    // The folder outlives the root that held it: no pointer to the root remains.
    EXPECT_EQ(folder->GetParent(), nullptr);
    folder->RemoveAllChildren();
    EXPECT_EQ(folder->GetChildCount(), 0u);
}

TEST(Volume, DeepNestingIsCutOff) {
    std::string xml = "<volume>";
    for (int i = 0; i < 5000; ++i) xml += "<folder name=\"f\">";
    for (int i = 0; i < 5000; ++i) xml += "</folder>";
    xml += "</volume>";
    const auto volume = ReadVolume(xml);
    int depth = 0;
    tarn::P<CVolumeFolder> folder = volume;
    while (folder->GetChildCount() > 0) {
        folder = tarn::Cast<CVolumeFolder>(folder->GetChild(0));
        ++depth;
    }
    EXPECT_EQ(depth, CVolumeFolder::kMaxDepth);
}
