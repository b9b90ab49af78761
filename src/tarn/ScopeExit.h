#pragma once
// Runs a callable when a scope ends, however it ends: undoing a step on every way out of a
// function without a hand-written guard class for each.

#include <type_traits>
#include <utility>

namespace tarn {

// Holds a callable and runs it once in its destructor, unless Release() was called. Moving
// hands the duty on: the moved-from guard runs nothing.
template <class F>
class [[nodiscard]] CScopeExit {
public:
    explicit CScopeExit(F callable) noexcept(std::is_nothrow_move_constructible_v<F>)
        : m_callable(std::move(callable)) {}
    CScopeExit(CScopeExit&& other) noexcept(std::is_nothrow_move_constructible_v<F>)
        : m_callable(std::move(other.m_callable)),
          m_engaged(std::exchange(other.m_engaged, false)) {}
    CScopeExit(const CScopeExit&) = delete;
    CScopeExit& operator=(const CScopeExit&) = delete;
    CScopeExit& operator=(CScopeExit&&) = delete;
    ~CScopeExit() {
        if (m_engaged) m_callable();
    }

    // The callable will not run.
    void Release() noexcept { m_engaged = false; }

private:
    F m_callable;
    bool m_engaged = true;
};

template <class F>
CScopeExit(F) -> CScopeExit<F>;

template <class F>
[[nodiscard]] CScopeExit<std::decay_t<F>> MakeScopeExit(F&& callable) {
    return CScopeExit<std::decay_t<F>>(std::forward<F>(callable));
}

}  // namespace tarn
