#include "tarn/StreamManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tarn/Exception.h"

namespace {

using tarn::CStreamMode;
using tarn::CURI;
using tarn::P;

// A stream of every kind that remembers who opened it and how; its data does not matter.
class CFakeStream : public tarn::CObject, public virtual tarn::ISeekableIOStream {
public:
    explicit CFakeStream(std::wstring openedBy) : m_openedBy(std::move(openedBy)) {}

    P<CURI> GetURI() const override { return nullptr; }
    bool IsOpen() const override { return true; }
    void Close() override {}
    void Read(void*, std::size_t) override {}
    std::size_t ReadSome(void*, std::size_t) override { return 0; }
    void Write(const void*, std::size_t) override {}
    void Flush() override {}
    P<tarn::IStreamMarker> CreateMarker() override { return nullptr; }
    void Reset() override {}
    std::uint64_t GetPosition() const override { return 0; }
    std::uint64_t GetSize() const override { return 0; }
    std::uint64_t Seek(std::int64_t, tarn::ESeekOrigin) override { return 0; }
    void SetSize(std::uint64_t) override {}

    std::wstring m_openedBy;
};

#define FAKE_TRY_OPEN(Kind)                                                                \
    P<tarn::I##Kind##Stream> TryOpen##Kind##Stream(const P<CURI>& uri, const CStreamMode&) \
        override {                                                                         \
        return Serve(uri, L## #Kind);                                                      \
    }

// Serves the URIs of its schemes; "fail:" raises as a factory does for a file it serves but
// cannot open.
class CFakeFactory : public tarn::CStreamFactory {
public:
    CFakeFactory(std::wstring name, std::vector<std::wstring> schemes)
        : m_name(std::move(name)), m_schemes(std::move(schemes)) {}

    FAKE_TRY_OPEN(In)
    FAKE_TRY_OPEN(Out)
    FAKE_TRY_OPEN(IO)
    FAKE_TRY_OPEN(ResetableIn)
    FAKE_TRY_OPEN(ResetableOut)
    FAKE_TRY_OPEN(ResetableIO)
    FAKE_TRY_OPEN(SeekableIn)
    FAKE_TRY_OPEN(SeekableOut)
    FAKE_TRY_OPEN(SeekableIO)

    int m_asked = 0;

private:
    P<CFakeStream> Serve(const P<CURI>& uri, const wchar_t* kind) {
        ++m_asked;
        if (uri->GetScheme() == L"fail") throw tarn::CError(L"cannot open");
        for (const std::wstring& scheme : m_schemes) {
            if (scheme == uri->GetScheme()) return tarn::New<CFakeStream>(m_name + L"/" + kind);
        }
        return nullptr;
    }

    std::wstring m_name;
    std::vector<std::wstring> m_schemes;
};

template <class S>
std::wstring OpenedBy(const P<S>& stream) {
    const P<CFakeStream> fake = tarn::Cast<CFakeStream>(stream);
    return fake ? fake->m_openedBy : L"no stream";
}

P<CFakeFactory> Factory(const wchar_t* name, std::vector<std::wstring> schemes) {
    return tarn::New<CFakeFactory>(name, std::move(schemes));
}

TEST(StreamManagerTest, EveryOperationReachesItsOwnKind) {
    const auto manager = tarn::New<tarn::CStreamManager>();
    manager->AddFactory(Factory(L"f", {L"mem"}));
    const P<CURI> uri = CURI::Parse(L"mem:data");
    const CStreamMode m;

    EXPECT_EQ(OpenedBy(manager->TryOpenInStream(uri, m)), L"f/In");
    EXPECT_EQ(OpenedBy(manager->TryOpenOutStream(uri, m)), L"f/Out");
    EXPECT_EQ(OpenedBy(manager->TryOpenIOStream(uri, m)), L"f/IO");
    EXPECT_EQ(OpenedBy(manager->TryOpenResetableInStream(uri, m)), L"f/ResetableIn");
    EXPECT_EQ(OpenedBy(manager->TryOpenResetableOutStream(uri, m)), L"f/ResetableOut");
    EXPECT_EQ(OpenedBy(manager->TryOpenResetableIOStream(uri, m)), L"f/ResetableIO");
    EXPECT_EQ(OpenedBy(manager->TryOpenSeekableInStream(uri, m)), L"f/SeekableIn");
    EXPECT_EQ(OpenedBy(manager->TryOpenSeekableOutStream(uri, m)), L"f/SeekableOut");
    EXPECT_EQ(OpenedBy(manager->TryOpenSeekableIOStream(uri, m)), L"f/SeekableIO");

    EXPECT_EQ(OpenedBy(manager->OpenInStream(uri, m)), L"f/In");
    EXPECT_EQ(OpenedBy(manager->OpenOutStream(uri, m)), L"f/Out");
    EXPECT_EQ(OpenedBy(manager->OpenIOStream(uri, m)), L"f/IO");
    EXPECT_EQ(OpenedBy(manager->OpenResetableInStream(uri, m)), L"f/ResetableIn");
    EXPECT_EQ(OpenedBy(manager->OpenResetableOutStream(uri, m)), L"f/ResetableOut");
    EXPECT_EQ(OpenedBy(manager->OpenResetableIOStream(uri, m)), L"f/ResetableIO");
    EXPECT_EQ(OpenedBy(manager->OpenSeekableInStream(uri, m)), L"f/SeekableIn");
    EXPECT_EQ(OpenedBy(manager->OpenSeekableOutStream(uri, m)), L"f/SeekableOut");
    EXPECT_EQ(OpenedBy(manager->OpenSeekableIOStream(uri, m)), L"f/SeekableIO");
}

TEST(StreamManagerTest, FactoriesAreAskedInRegistrationOrder) {
    const auto manager = tarn::New<tarn::CStreamManager>();
    const auto first = Factory(L"first", {L"a"});
    const auto second = Factory(L"second", {L"a", L"b"});
    manager->AddFactory(first);
    manager->AddFactory(second);
    manager->AddFactory(first);  // a repeat is not asked twice
    const CStreamMode m;

    EXPECT_EQ(OpenedBy(manager->TryOpenInStream(CURI::Parse(L"a:x"), m)), L"first/In");
    EXPECT_EQ(OpenedBy(manager->TryOpenInStream(CURI::Parse(L"b:x"), m)), L"second/In");
    EXPECT_EQ(first->m_asked, 2);
    EXPECT_EQ(second->m_asked, 1);

    EXPECT_TRUE(manager->RemoveFactory(first));
    EXPECT_FALSE(manager->RemoveFactory(first));
    EXPECT_EQ(OpenedBy(manager->TryOpenInStream(CURI::Parse(L"a:x"), m)), L"second/In");

    EXPECT_THROW(manager->AddFactory(nullptr), tarn::CInvalidArgError);
    EXPECT_THROW(manager->AddFactory(manager), tarn::CInvalidArgError);  // would recurse
}

TEST(StreamManagerTest, UnservedURIsGiveNoStreamOrNotFound) {
    const auto manager = tarn::New<tarn::CStreamManager>();
    manager->AddFactory(Factory(L"f", {L"mem"}));
    const P<CURI> web = CURI::Parse(L"http://example.com/a%20b.bin");
    EXPECT_FALSE(manager->TryOpenInStream(web, CStreamMode::Reading()));
    try {
        manager->OpenSeekableInStream(web, CStreamMode::Reading());
        FAIL() << "an unserved URI opened";
    } catch (const tarn::CFileNotFoundError& error) {
        EXPECT_EQ(error.GetDescription(), L"The file 'http://example.com/a b.bin' was not found.");
        EXPECT_EQ(error.GetURI(), web);
    }
}

TEST(StreamManagerTest, AFactoryErrorEndsTheSearch) {
    const auto manager = tarn::New<tarn::CStreamManager>();
    const auto later = Factory(L"later", {L"fail"});
    manager->AddFactory(Factory(L"first", {L"fail"}));
    manager->AddFactory(later);
    try {
        manager->OpenIOStream(CURI::Parse(L"fail:x"), CStreamMode());
        FAIL() << "the factory's error was lost";
    } catch (const tarn::CError& error) {
        EXPECT_EQ(error.GetDescription(), L"cannot open");  // not turned into not-found
    }
    EXPECT_EQ(later->m_asked, 0);
}

}  // namespace
