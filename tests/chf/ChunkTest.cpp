// Chunk files: iteration and regions on the reading side; growing and shrinking in place,
// with every enclosing size field kept up to date, on the writing side.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "ChunkBytes.h"
#include "TempFolder.h"
#include "chf/ChunkFile.h"
#include "chf/ChunkId.h"
#include "chf/TarnFileStream.h"
#include "tarn/Exception.h"

using namespace chftest;
using chf::CChunkFile;
using chf::MakeChunkId;

namespace {

std::string Get(chf::IStream& stream, std::uint64_t at, std::size_t count) {
    std::string text(count, '\0');
    stream.Seek(at);
    stream.Read(text.data(), count);
    return text;
}

void Put(chf::IStream& stream, std::uint64_t at, const std::string& text) {
    stream.Seek(at);
    stream.Write(text.data(), text.size());
}

Bytes Sample(const Bytes& in1, const Bytes& in2 = "de", const Bytes& tail = "t") {
    return File("TESTTYPE", Chunk("HEAD", "h") +
                                Chunk("NEST", Chunk("in1 ", in1) + Chunk("in2 ", in2)) +
                                Chunk("TAIL", tail));
}

// Streams open on every part of the sample at once; the file iterator is left on TAIL.
struct OpenSample {
    explicit OpenSample(const Bytes& image) : memory(Memory(image)) {
        file = CChunkFile::Open(memory);
        EXPECT_TRUE(file->FindNext(MakeChunkId("NEST")));
        nest = file->OpenChunkIterator();
        EXPECT_TRUE(nest->Next());
        in1 = nest->OpenChunkStream();
        EXPECT_TRUE(nest->Next());
        in2 = nest->OpenChunkStream();
        EXPECT_TRUE(file->Next());
        tail = file->OpenChunkStream();
    }

    tarn::P<chf::CMemoryStream> memory;
    tarn::P<CChunkFile> file;
    tarn::P<chf::CChunkIterator> nest;
    tarn::P<chf::CChunkStream> in1, in2, tail;
};

}  // namespace

TEST(ChunkRead, WalksChunksAndNestedChunks) {
    const auto file = CChunkFile::Open(Memory(Sample("abc") + "after the body"));
    EXPECT_STREQ(file->GetType(), "TESTTYPE");
    ASSERT_TRUE(file->FindNext(MakeChunkId("NEST")));
    const auto nest = file->OpenChunkIterator();
    ASSERT_TRUE(nest->FindNext(MakeChunkId("in2 ")));
    EXPECT_EQ(Get(*nest->OpenChunkStream(), 0, 2), "de");
    EXPECT_FALSE(nest->Next());
    nest->Reset();
    ASSERT_TRUE(nest->Next());
    EXPECT_EQ(nest->GetChunkSize(), 3u);
    ASSERT_TRUE(file->Next());
    EXPECT_EQ(file->GetChunkId(), MakeChunkId("TAIL"));
    EXPECT_FALSE(file->Next());  // the bytes after the body are not part of it
    EXPECT_THROW(file->OpenChunkStream(), tarn::CInvalidObjectStateError);
}

TEST(ChunkRead, FewerThanAHeaderOfBytesEndsIteration) {
    auto file = CChunkFile::Open(Memory(File("TESTTYPE", Chunk("AAAA", "a") + Bytes(11, 'A'))));
    EXPECT_TRUE(file->Next());
    EXPECT_FALSE(file->Next());
    EXPECT_FALSE(file->Next());
    file = CChunkFile::Open(Memory(File("TESTTYPE", Chunk("AAAA", "a") + Chunk("BBBB", ""))));
    EXPECT_TRUE(file->Next());
    EXPECT_TRUE(file->Next());
}

TEST(ChunkRead, NothingIsReadOutsideARegion) {
    // Data sizes too large by one, and so large that header + size would wrap around.
    for (const std::uint64_t size : {std::uint64_t{5}, ~std::uint64_t{0} - 4}) {
        const auto file = CChunkFile::Open(Memory(File("TESTTYPE", "AAAA" + U64(size) + "abcd")));
        EXPECT_THROW(file->Next(), tarn::CEndOfStreamError) << size;
    }
    // A nested chunk that claims the bytes of the chunk after its parent.
    const auto file = CChunkFile::Open(Memory(
        File("TESTTYPE", Chunk("OUT1", "in  " + U64(20) + "ab") + Chunk("OUT2", Bytes(20, 'x')))));
    ASSERT_TRUE(file->Next());
    EXPECT_THROW(file->OpenChunkIterator()->Next(), tarn::CEndOfStreamError);
    // A chunk stream reads up to its end and no further.
    const auto stream = file->OpenChunkStream();
    EXPECT_EQ(Get(*stream, 12, 2), "ab");
    EXPECT_THROW(Get(*stream, 13, 2), tarn::CEndOfStreamError);
    EXPECT_THROW(Get(*stream, ~std::uint64_t{0}, 1), tarn::CEndOfStreamError);
    // A file header that does not fit, or a body size beyond the file.
    EXPECT_THROW(CChunkFile::Open(Memory("TESTTYPE" + U32(0))), tarn::CEndOfStreamError);
    EXPECT_THROW(CChunkFile::Open(Memory("TESTTYPE" + U64(13) + Chunk("AAAA", ""))),
                 tarn::CEndOfStreamError);
}

TEST(ChunkWrite, BuildsAFileChunkByChunk) {
    const auto memory = Memory("");
    const auto file = CChunkFile::Create(memory, "TESTTYPE");
    file->AppendChunk(MakeChunkId("HEAD"));
    Put(*file->OpenChunkStream(), 0, "h");
    file->AppendChunk(MakeChunkId("NEST"));
    const auto nest = file->OpenChunkIterator();
    nest->AppendChunk(MakeChunkId("in1 "));
    const auto in1 = nest->OpenChunkStream();
    Put(*in1, 0, "ab");
    nest->AppendChunk(MakeChunkId("in2 "));
    Put(*nest->OpenChunkStream(), 0, "de");
    file->AppendChunk(MakeChunkId("TAIL"));
    Put(*file->OpenChunkStream(), 0, "t");
    Put(*in1, 2, "c");  // after everything else was written
    EXPECT_EQ(Image(*memory), Sample("abc"));
    EXPECT_THROW(CChunkFile::Create(memory, "TESTTYPE"), tarn::CInvalidArgError);
}

TEST(ChunkWrite, GrowingAndShrinkingMoveWhatFollowsAndUpdateEverySize) {
    OpenSample sample(Sample("abc"));
    Put(*sample.in1, 3, "XYZW");
    EXPECT_EQ(Image(*sample.memory), Sample("abcXYZW"));
    EXPECT_EQ(sample.nest->GetSize(), 12u + 7 + 12 + 2);
    // Streams behind the change still address their own bytes.
    Put(*sample.in2, 0, "D");
    Put(*sample.tail, 0, "T");
    EXPECT_EQ(Image(*sample.memory), Sample("abcXYZW", "De", "T"));

    sample.in1->Seek(1);
    sample.in1->RemoveSpace(5);
    Put(*sample.in2, 1, "E");
    Put(*sample.tail, 1, "!");
    EXPECT_EQ(Image(*sample.memory), Sample("aW", "DE", "T!"));

    // Inserted space and gaps left by writing past the end read as zeros.
    sample.in1->Seek(1);
    sample.in1->InsertSpace(2);
    Put(*sample.in1, 6, "!");
    EXPECT_EQ(Image(*sample.memory), Sample(Bytes("a\0\0W\0\0!", 7), "DE", "T!"));
    // Nothing reaches outside the region.
    sample.in1->Seek(8);
    EXPECT_THROW(sample.in1->InsertSpace(1), tarn::CInvalidArgError);
    sample.in1->Seek(6);
    EXPECT_THROW(sample.in1->RemoveSpace(2), tarn::CInvalidArgError);

    // The iterators go on from where they were, over the changed sizes.
    EXPECT_FALSE(sample.file->Next());
    EXPECT_FALSE(sample.nest->Next());
    sample.nest->Reset();
    ASSERT_TRUE(sample.nest->Next());
    EXPECT_EQ(sample.nest->GetChunkSize(), 7u);
}

TEST(ChunkWrite, IteratorFollowsItsChunkWhenAnotherChanges) {
    const auto file = CChunkFile::Open(Memory(Sample("abc")));
    ASSERT_TRUE(file->Next());
    const auto head = file->OpenChunkStream();
    Put(*head, 1, "eader");  // the current chunk grows: Next skips the grown data
    EXPECT_EQ(file->GetChunkSize(), 6u);
    ASSERT_TRUE(file->Next());
    Put(*head, 6, "!!");  // a chunk before the current one grows: the current one moves
    const auto nest = file->OpenChunkIterator();
    ASSERT_TRUE(nest->Next());
    EXPECT_EQ(Get(*nest->OpenChunkStream(), 0, 3), "abc");
    ASSERT_TRUE(file->FindNext(MakeChunkId("TAIL")));
    const auto tail = file->OpenChunkStream();
    EXPECT_FALSE(file->Next());
    // At the end: the last chunk grows by more than a header, yet no chunk appears there.
    Put(*tail, 1, "ail grown by more than a header");
    EXPECT_FALSE(file->Next());
    file->AppendChunk(MakeChunkId("MORE"));
    file->Reset();
    int count = 0;
    while (file->Next()) ++count;
    EXPECT_EQ(count, 4);
}

TEST(ChunkWrite, TwoStreamsOnOneChunkStayInStep) {
    OpenSample sample(Sample("abc"));
    sample.nest->Reset();
    ASSERT_TRUE(sample.nest->Next());
    const auto again = sample.nest->OpenChunkStream();
    Put(*sample.in1, 3, "dd");
    EXPECT_EQ(Get(*again, 3, 2), "dd");
    Put(*again, 5, "e");
    EXPECT_EQ(sample.in1->GetSize(), 6u);
    EXPECT_EQ(Image(*sample.memory), Sample("abcdde"));
}

TEST(ChunkWrite, GrowsInPlaceInAFileAcrossManyMoveBlocks) {
    testsupport::TempFolder folder;
    const std::filesystem::path location = folder / "big.chunks";
    std::string big(3 * chf::CBaseStream::kMoveBlockSize + 123, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i % 251);
    using EMode = chf::CTarnFileStream::EMode;
    {
        const auto file = CChunkFile::Create(
            tarn::New<chf::CTarnFileStream>(location.wstring(), EMode::Create), "TESTTYPE");
        file->AppendChunk(MakeChunkId("BIG "));
        Put(*file->OpenChunkStream(), 0, big);
        file->AppendChunk(MakeChunkId("TAIL"));
        Put(*file->OpenChunkStream(), 0, "end");
    }
    {
        const auto file =
            CChunkFile::Open(tarn::New<chf::CTarnFileStream>(location.wstring(), EMode::Update));
        ASSERT_TRUE(file->Next());
        const auto stream = file->OpenChunkStream();
        stream->Seek(5);
        stream->InsertSpace(chf::CBaseStream::kMoveBlockSize + 3);
        stream->RemoveSpace(2);
    }
    std::ifstream in(location, std::ios::binary);
    const Bytes image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    big.insert(5, chf::CBaseStream::kMoveBlockSize + 1, '\0');
    EXPECT_TRUE(image == File("TESTTYPE", Chunk("BIG ", big) + Chunk("TAIL", "end")));

    const auto reader = tarn::New<chf::CTarnFileStream>(location.wstring(), EMode::Read);
    EXPECT_THROW(reader->Write("x", 1), tarn::CInvalidObjectStateError);
}
