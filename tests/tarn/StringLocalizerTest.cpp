#include "tarn/StringLocalizer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using tarn::CStringLocalizer;
using tarn::P;

TEST(StringLocalizerTest, UnknownKeysYieldTheirDefault) {
    const P<CStringLocalizer> localizer = tarn::New<CStringLocalizer>();
    EXPECT_EQ(localizer->Localize(L"tarn.CEndOfEnumError.desc",
                                  L"end of enumeration already reached"),
              L"end of enumeration already reached");
}

TEST(StringLocalizerTest, StoredTextsAreFoundByExactKey) {
    const P<CStringLocalizer> localizer = tarn::New<CStringLocalizer>();
    localizer->Set(L"graphics.CView.ZoomPlus", L"Vergr\u00f6\u00dfern");
    EXPECT_EQ(localizer->Localize(L"graphics.CView.ZoomPlus", L"Zoom in"), L"Vergr\u00f6\u00dfern");
    EXPECT_EQ(localizer->Localize(L"graphics.cview.zoomplus", L"Zoom in"), L"Zoom in");
    localizer->Set(L"graphics.CView.ZoomPlus", L"");
    EXPECT_EQ(localizer->Localize(L"graphics.CView.ZoomPlus", L"Zoom in"), L"Zoom in");
    localizer->Set(L"a", L"A");
    localizer->Clear();
    EXPECT_EQ(localizer->Localize(L"a", L"default"), L"default");
}

TEST(StringLocalizerTest, FallbackAnswersMissingAndEmptyKeys) {
    const P<CStringLocalizer> localizer = tarn::New<CStringLocalizer>();
    const P<CStringLocalizer> fallback = tarn::New<CStringLocalizer>();
    fallback->Set(L"k", L"from fallback");
    fallback->Set(L"own", L"fallback's own");
    localizer->Set(L"own", L"mine");
    localizer->Set(L"empty", L"");
    localizer->SetFallback(fallback);
    EXPECT_EQ(localizer->Localize(L"k", L"default"), L"from fallback");
    EXPECT_EQ(localizer->Localize(L"own", L"default"), L"mine");
    EXPECT_EQ(localizer->Localize(L"empty", L"default"), L"default");
    EXPECT_EQ(localizer->Localize(L"none", L"default"), L"default");
    localizer->SetFallback(nullptr);
    EXPECT_EQ(localizer->Localize(L"k", L"default"), L"default");
}

TEST(StringLocalizerTest, ManyKeysSurviveGrowth) {
    const P<CStringLocalizer> localizer = tarn::New<CStringLocalizer>();
    for (int i = 0; i < 5000; ++i) {
        localizer->Set(L"key." + std::to_wstring(i), L"text " + std::to_wstring(i));
    }
    for (int i = 0; i < 5000; i += 97) {
        EXPECT_EQ(localizer->Localize(L"key." + std::to_wstring(i), L""),
                  L"text " + std::to_wstring(i));
    }
}

TEST(StringLocalizerTest, ConcurrentUseKeepsTheTableWhole) {
    const P<CStringLocalizer> localizer = tarn::New<CStringLocalizer>();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 2000; ++i) {
                const std::wstring key = L"k" + std::to_wstring(t) + L"." + std::to_wstring(i);
                localizer->Set(key, key);
                if (localizer->Localize(key, L"") != key) ADD_FAILURE() << "lost " << i;
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(localizer->Localize(L"k3.1999", L""), L"k3.1999");
}

// A stand-in for the higher layer's localizer class.
class CUpperLocalizer : public CStringLocalizer {
public:
    std::wstring Localize(const std::wstring& key, const std::wstring& defaultText) override {
        const std::wstring text = CStringLocalizer::Localize(key, defaultText);
        return text == defaultText ? L"[" + text + L"]" : text;
    }
};

void CheckFactoryIsUsedOnlyBeforeFirstUse() {
    // Nothing has asked for the global localizer yet when this runs in a fresh process.
    const bool installed =
        tarn::SetGlobalLocalizerFactory([] { return P<tarn::IStringLocalizer>(tarn::New<CUpperLocalizer>()); });
    const P<tarn::IStringLocalizer> global = tarn::GetGlobalLocalizer();
    EXPECT_EQ(global, tarn::GetGlobalLocalizer());
    if (installed) {
        EXPECT_TRUE(tarn::Cast<CUpperLocalizer>(global));
        EXPECT_EQ(tarn::Localize(L"x.y", L"Hello"), L"[Hello]");
    }
    EXPECT_FALSE(tarn::SetGlobalLocalizerFactory([] {
        return P<tarn::IStringLocalizer>(tarn::New<CStringLocalizer>());
    }));
    global->Set(L"x.y", L"Hallo");
    EXPECT_EQ(tarn::Localize(L"x.y", L"Hello"), L"Hallo");
    global->Clear();
    // Straight out: the process's clean-up (and a leak check) has nothing to say here.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(testing::Test::HasFailure() ? 1 : 0);
}

TEST(GlobalLocalizerTest, FactoryIsUsedOnlyBeforeFirstUse) {
    // The global localizer cannot be taken back once made: the check runs in a process of its
    // own, so that the tests after it in this program (run as one process on Windows) get the
    // plain one.
    EXPECT_EXIT(CheckFactoryIsUsedOnlyBeforeFirstUse(), testing::ExitedWithCode(0), "");
}

}  // namespace
