#include "tarn/win32/DiskStream.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "tarn/Exception.h"
#include "tarn/StreamManager.h"
#include "tarn/Text.h"
#include "tarn/win32/DiskStreamFactory.h"
#include "tarn/win32/Pathes.h"

namespace {

using tarn::CStreamMode;
using tarn::CURI;
using tarn::ESeekOrigin;
using tarn::New;
using tarn::P;
using tarn::win32::CDiskInStream;
using tarn::win32::CDiskIOStream;
using tarn::win32::CDiskOutStream;
namespace fs = std::filesystem;

class DiskStreamTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "disk stream-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
    }
    void TearDown() override { fs::remove_all(m_folder); }

    // The folder's name has a space, so that messages show the decoded path.
    std::wstring PathOf(const std::string& name) const {
        return tarn::FromUtf8((m_folder / name).string());
    }
    P<CURI> URIOf(const std::string& name) const {
        return tarn::win32::CPathes::LocalPathToURI(PathOf(name));
    }
    void Put(const std::string& name, const std::string& bytes) const {
        std::ofstream(m_folder / name, std::ios::binary) << bytes;
    }
    std::string Contents(const std::string& name) const {
        std::ifstream in(m_folder / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The description of the error opening name raises, or "opened"; the access bits choose
    // the stream.
    std::wstring OpenFailure(const std::string& name, const CStreamMode& mode) const {
        try {
            if (mode.access == CStreamMode::kRead) New<CDiskInStream>(URIOf(name), mode);
            if (mode.access == CStreamMode::kWrite) New<CDiskOutStream>(URIOf(name), mode);
            if (mode.access == 3) New<CDiskIOStream>(URIOf(name), mode);
            return L"opened";
        } catch (const tarn::CFileNotFoundError&) {
            return L"not found";
        } catch (const tarn::CError& error) {
            return error.GetDescription();
        }
    }

    fs::path m_folder;
};

std::string ReadUpTo(tarn::IInStream& stream, std::size_t count) {
    std::string bytes(count, '\0');
    bytes.resize(stream.ReadSome(bytes.data(), count));
    return bytes;
}

CStreamMode Mode(unsigned access, int sharing, int creation, bool deleteOnClose = false) {
    return CStreamMode{access, sharing, creation, deleteOnClose};
}

constexpr const wchar_t* kInUse =
    L"The process cannot access the file because it is being used by another process.";

TEST_F(DiskStreamTest, WrittenBytesReadBack) {
    const std::string data = std::string("chunk\0file\xff", 11);
    {
        const auto out = New<CDiskOutStream>(URIOf("a.bin"));
        out->Write(data.data(), data.size());
        out->Flush();
        EXPECT_EQ(out->GetPosition(), data.size());
    }
    EXPECT_EQ(Contents("a.bin"), data);

    const auto in = New<CDiskInStream>(URIOf("a.bin"));
    EXPECT_EQ(in->GetSize(), data.size());
    std::string head(5, '\0');
    in->Read(head.data(), head.size());
    EXPECT_EQ(head, "chunk");
    EXPECT_EQ(ReadUpTo(*in, 100), data.substr(5));
    in->Reset();
    EXPECT_EQ(ReadUpTo(*in, 100), data);
}

TEST_F(DiskStreamTest, MissingFilesAndFoldersAreNotFound) {
    Put("plain", "x");
    for (const std::string name : {"missing.bin", "no folder/a.bin", "plain/a.bin"}) {
        try {
            New<CDiskInStream>(URIOf(name));
            ADD_FAILURE() << name << " opened";
        } catch (const tarn::CFileNotFoundError& error) {
            EXPECT_EQ(error.GetDescription(), L"The file '" + PathOf(name) + L"' was not found.");
        }
    }
    EXPECT_EQ(OpenFailure("new.bin", Mode(3, 0, CStreamMode::kOpenExisting)), L"not found");
    EXPECT_FALSE(fs::exists(m_folder / "new.bin"));
}

TEST_F(DiskStreamTest, ReadingPastTheEndRaisesEndOfStream) {
    Put("short", "abc");
    const auto in = New<CDiskInStream>(URIOf("short"));
    char buffer[4] = {};
    try {
        in->Read(buffer, 4);
        FAIL() << "read 4 bytes out of 3";
    } catch (const tarn::CEndOfStreamError& error) {
        EXPECT_EQ(error.GetDescription(),
                  L"Unexpected end of data stream (uri: '" + PathOf("short") + L"').");
    }
    in->Reset();
    in->Read(buffer, 3);
    EXPECT_EQ(std::string(buffer, 3), "abc");
    EXPECT_THROW(in->Read(buffer, 1), tarn::CEndOfStreamError);
    EXPECT_EQ(in->ReadSome(buffer, 1), 0u);
}

TEST_F(DiskStreamTest, SeekingResizingAndMarkers) {
    const auto io = New<CDiskIOStream>(URIOf("seek.bin"));
    io->Write("0123456789", 10);
    EXPECT_EQ(io->Seek(2, ESeekOrigin::Begin), 2u);
    EXPECT_EQ(io->Seek(3, ESeekOrigin::Current), 5u);
    const P<tarn::IStreamMarker> marker = io->CreateMarker();
    EXPECT_EQ(ReadUpTo(*io, 2), "56");
    EXPECT_EQ(io->Seek(-1, ESeekOrigin::End), 9u);
    marker->Restore();
    EXPECT_EQ(ReadUpTo(*io, 2), "56");

    // Before the start is refused and leaves the position alone.
    EXPECT_THROW(io->Seek(-1, ESeekOrigin::Begin), tarn::CInvalidArgError);
    EXPECT_THROW(io->Seek(-11, ESeekOrigin::End), tarn::CInvalidArgError);
    EXPECT_EQ(io->GetPosition(), 7u);

    // Writing beyond the end fills the gap with zeros.
    io->Seek(12, ESeekOrigin::Begin);
    io->Write("x", 1);
    EXPECT_EQ(Contents("seek.bin"), std::string("0123456789\0\0x", 13));

    io->SetSize(4);
    EXPECT_EQ(io->GetSize(), 4u);
    EXPECT_EQ(io->GetPosition(), 13u);
    io->SetSize(6);
    io->Reset();
    EXPECT_EQ(ReadUpTo(*io, 10), std::string("0123\0\0", 6));
}

TEST_F(DiskStreamTest, EveryOperationOnAClosedStreamRaises) {
    const auto io = New<CDiskIOStream>(URIOf("closed.bin"));
    const P<tarn::IStreamMarker> marker = io->CreateMarker();
    io->Close();
    EXPECT_FALSE(io->IsOpen());
    EXPECT_NO_THROW(io->Close());
    char byte = 0;
    const std::vector<std::function<void()>> operations = {
        [&] { io->Read(&byte, 1); },
        [&] { io->ReadSome(&byte, 1); },
        [&] { io->Write(&byte, 1); },
        [&] { io->Flush(); },
        [&] { io->GetSize(); },
        [&] { io->GetPosition(); },
        [&] { io->Seek(0, ESeekOrigin::Begin); },
        [&] { io->Reset(); },
        [&] { io->SetSize(0); },
        [&] { io->CreateMarker(); },
        [&] { marker->Restore(); },
    };
    for (std::size_t i = 0; i < operations.size(); ++i) {
        try {
            operations[i]();
            ADD_FAILURE() << "operation " << i << " ran on a closed stream";
        } catch (const tarn::CStreamClosedError& error) {
            EXPECT_EQ(error.GetDescription(), L"The stream has been closed.");
        }
    }
}

TEST_F(DiskStreamTest, CreationModesAndBadModes) {
    Put("existing", "old contents");
    EXPECT_EQ(New<CDiskIOStream>(URIOf("existing"), Mode(3, 0, 3))->GetSize(), 12u);
    New<CDiskOutStream>(URIOf("existing"), Mode(2, 0, 2))->Write("new", 3);
    EXPECT_EQ(Contents("existing"), "new");
    EXPECT_EQ(New<CDiskIOStream>(URIOf("created"), Mode(3, 0, 3))->GetSize(), 0u);

    EXPECT_THROW(New<CDiskInStream>(URIOf("existing"), Mode(1, 3, 1)), tarn::CInvalidArgError);
    EXPECT_THROW(New<CDiskInStream>(URIOf("existing"), Mode(4, 1, 1)), tarn::CInvalidArgError);
    try {
        New<CDiskOutStream>(URIOf("other"), Mode(2, 1, 4));
        FAIL() << "creation 4 accepted";
    } catch (const tarn::CInvalidArgError& error) {
        EXPECT_EQ(error.GetDescription(),
                  L"An invalid argument was passed to method 'Open' of 'object: "
                  L"tarn::win32::CDiskOutStream object': creation");
    }
    EXPECT_FALSE(fs::exists(m_folder / "other"));
}

TEST_F(DiskStreamTest, SharingKeepsOutConflictingOpeners) {
    Put("shared", "precious");
    {
        const auto alone = New<CDiskInStream>(URIOf("shared"), Mode(1, 0, 1));
        EXPECT_EQ(OpenFailure("shared", Mode(1, 2, 1)), kInUse);
        // A refused replacement must not have emptied the file first.
        EXPECT_EQ(OpenFailure("shared", Mode(3, 2, CStreamMode::kCreateAlways)), kInUse);
        EXPECT_EQ(OpenFailure("shared", Mode(1, 2, CStreamMode::kCreateAlways)), kInUse);
        EXPECT_EQ(Contents("shared"), "precious");
    }
    {
        const auto reader = New<CDiskInStream>(URIOf("shared"), Mode(1, 1, 1));
        EXPECT_EQ(OpenFailure("shared", Mode(1, 1, 1)), L"opened");
        EXPECT_EQ(OpenFailure("shared", Mode(3, 1, 1)), kInUse);  // writer, others only read
        EXPECT_EQ(OpenFailure("shared", Mode(1, 0, 1)), kInUse);
    }
    {
        const auto writer = New<CDiskIOStream>(URIOf("shared"), Mode(3, 2, 1));
        EXPECT_EQ(OpenFailure("shared", Mode(3, 2, 1)), L"opened");
        EXPECT_EQ(OpenFailure("shared", Mode(1, 0, 1)), kInUse);
    }
    const auto exclusive = New<CDiskIOStream>(URIOf("shared"), Mode(3, 0, 1));
    exclusive->Close();  // releases the file at once
    EXPECT_EQ(OpenFailure("shared", Mode(3, 0, 1)), L"opened");
}

TEST_F(DiskStreamTest, DeleteOnCloseRemovesTheFile) {
    const auto temporary = New<CDiskIOStream>(URIOf("temp.bin"), Mode(3, 0, 2, true));
    EXPECT_TRUE(fs::exists(m_folder / "temp.bin"));
    temporary->Close();
    EXPECT_FALSE(fs::exists(m_folder / "temp.bin"));

    New<CDiskOutStream>(URIOf("dropped.bin"), Mode(2, 0, 2, true));  // last reference goes
    EXPECT_FALSE(fs::exists(m_folder / "dropped.bin"));

    // A file put in its place meanwhile is someone else's and stays.
    const auto moved = New<CDiskOutStream>(URIOf("moved.bin"), Mode(2, 2, 2, true));
    fs::rename(m_folder / "moved.bin", m_folder / "elsewhere.bin");
    Put("moved.bin", "keep me");
    moved->Close();
    EXPECT_EQ(Contents("moved.bin"), "keep me");
}

TEST_F(DiskStreamTest, BadTargetsFailWithClearErrors) {
    fs::create_directory(m_folder / "folder");
    EXPECT_EQ(OpenFailure("folder", Mode(1, 0, 1)), L"Is a directory");
    EXPECT_EQ(OpenFailure(std::string(300, 'n'), Mode(3, 0, 3)), L"File name too long");
    // A FIFO without a writer would hold an ordinary open forever.
    ASSERT_EQ(::mkfifo((m_folder / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(OpenFailure("fifo", Mode(1, 0, 1)), L"The path does not name a regular file.");
    // An escaped NUL must not cut the path short and open "a".
    Put("a", "x");
    EXPECT_THROW(New<CDiskInStream>(CURI::Parse(URIOf("a")->GetText() + L"%00.bin")),
                 tarn::CFileNotFoundError);
    if (::geteuid() != 0) {  // permissions do not bind root
        fs::permissions(m_folder / "a", fs::perms::none);
        EXPECT_EQ(OpenFailure("a", Mode(1, 1, 1)), L"Permission denied");
    }
}

TEST_F(DiskStreamTest, OnlyLocalFilesAreServed) {
    const auto factory = New<tarn::win32::CDiskStreamFactory>();
    const CStreamMode m = CStreamMode::Reading();
    for (const wchar_t* text : {L"http://example.com/a.bin", L"file://server/share/a.bin"}) {
        const P<CURI> uri = CURI::Parse(text);
        EXPECT_FALSE(factory->TryOpenInStream(uri, m));
        EXPECT_FALSE(factory->TryOpenResetableOutStream(uri, m));
        EXPECT_FALSE(factory->TryOpenSeekableIOStream(uri, m));
        // Opened directly, such a URI names no file.
        EXPECT_THROW(New<CDiskInStream>(uri), tarn::CFileNotFoundError);
    }

    const auto manager = New<tarn::CStreamManager>();
    manager->AddFactory(factory);
    try {
        manager->OpenSeekableInStream(CURI::Parse(L"http://example.com/pack.zvtLang"), m);
        FAIL() << "a web URI opened";
    } catch (const tarn::CFileNotFoundError& error) {
        EXPECT_EQ(error.GetDescription(),
                  L"The file 'http://example.com/pack.zvtLang' was not found.");
    }
    // Each kind is the disk stream of its direction.
    EXPECT_TRUE(tarn::Cast<CDiskOutStream>(
        manager->OpenResetableOutStream(URIOf("data.bin"), CStreamMode::Creating())));
    EXPECT_TRUE(tarn::Cast<CDiskInStream>(manager->OpenInStream(URIOf("data.bin"), m)));
    EXPECT_TRUE(tarn::Cast<CDiskIOStream>(manager->OpenSeekableIOStream(URIOf("data.bin"), {})));
    // A local file the factory serves but cannot find keeps the not-found error.
    EXPECT_THROW(manager->TryOpenInStream(URIOf("missing.bin"), m), tarn::CFileNotFoundError);

    tarn::win32::CDiskStreamFactory::RegisterWithStreamManager();
    tarn::win32::CDiskStreamFactory::RegisterWithStreamManager();
    EXPECT_EQ(tarn::GetStreamManager()->OpenSeekableInStream(URIOf("data.bin"), m)->GetSize(), 0u);
}

}  // namespace
