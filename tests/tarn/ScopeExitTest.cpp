#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <type_traits>
#include <utility>
#include <vector>

#include "tarn/ScopeExit.h"

namespace {

int g_calls = 0;
void CountCall() { ++g_calls; }

TEST(ScopeExitTest, RunsOnceWhenTheScopeEndsAndNotBefore) {
    int runs = 0;
    {
        const tarn::CScopeExit guard([&] { ++runs; });
        EXPECT_EQ(runs, 0);
    }
    EXPECT_EQ(runs, 1);
}

TEST(ScopeExitTest, RunsWhileAnExceptionLeavesTheScope) {
    std::vector<int> order;
    try {
        const auto guard = tarn::MakeScopeExit([&] { order.push_back(1); });
        throw std::runtime_error("out");
    } catch (const std::runtime_error&) {
        order.push_back(2);
    }
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

TEST(ScopeExitTest, ReleasedGuardRunsNothing) {
    int runs = 0;
    {
        auto guard = tarn::MakeScopeExit([&] { ++runs; });
        guard.Release();
    }
    EXPECT_EQ(runs, 0);
}

TEST(ScopeExitTest, MovingHandsTheDutyOnSoItRunsOnce) {
    int runs = 0;
    {
        auto first = tarn::MakeScopeExit([&] { ++runs; });
        {
            auto second = std::move(first);
            EXPECT_EQ(runs, 0);
        }
        EXPECT_EQ(runs, 1);  // the moved-to guard ran at its own scope's end
    }
    EXPECT_EQ(runs, 1);  // and the moved-from one did not run again

    // A guard released before the move stays released after it.
    {
        auto released = tarn::MakeScopeExit([&] { ++runs; });
        released.Release();
        auto moved = std::move(released);
    }
    EXPECT_EQ(runs, 1);
}

TEST(ScopeExitTest, GuardsEndInReverseOrderAndOwnWhatTheyCapture) {
    std::vector<int> order;
    auto shared = std::make_shared<int>(5);
    std::weak_ptr<int> watch = shared;
    {
        const auto outer = tarn::MakeScopeExit([&] { order.push_back(1); });
        const auto inner =
            tarn::MakeScopeExit([&order, owned = std::move(shared)] { order.push_back(*owned); });
        EXPECT_FALSE(watch.expired());
    }
    EXPECT_EQ(order, (std::vector<int>{5, 1}));
    EXPECT_TRUE(watch.expired());  // the callable went with its guard
}

TEST(ScopeExitTest, TakesAPlainFunction) {
    g_calls = 0;
    {
        const auto guard = tarn::MakeScopeExit(CountCall);
        static_assert(
            std::is_same_v<std::remove_const_t<decltype(guard)>, tarn::CScopeExit<void (*)()>>);
    }
    EXPECT_EQ(g_calls, 1);
}

static_assert(!std::is_copy_constructible_v<tarn::CScopeExit<void (*)()>>);
static_assert(!std::is_copy_assignable_v<tarn::CScopeExit<void (*)()>>);
static_assert(!std::is_move_assignable_v<tarn::CScopeExit<void (*)()>>);
static_assert(std::is_nothrow_move_constructible_v<tarn::CScopeExit<void (*)()>>);

}  // namespace
