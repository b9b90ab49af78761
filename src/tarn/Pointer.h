#pragma once
// Counted and non-counting references to objects.

#include <cstddef>
#include <type_traits>
#include <utility>

namespace tarn {

template <class T>
class P;

// Counted reference: copying adds a reference, overwriting or destroying releases the one
// held. Works for concrete classes and for interfaces (through IBase's AddRef/Release).
// PC<T> is P<const T>.
template <class T>
class P {
public:
    constexpr P() noexcept = default;
    constexpr P(std::nullptr_t) noexcept {}
    // Takes a new reference to an object someone else already holds.
    P(T* object) noexcept : m_object(object) { Acquire(); }
    P(const P& other) noexcept : m_object(other.m_object) { Acquire(); }
    P(P&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    P(const P<U>& other) noexcept : m_object(other.Get()) {
        Acquire();
    }
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    P(P<U>&& other) noexcept : m_object(other.Detach()) {}
    ~P() { Drop(); }

    P& operator=(const P& other) noexcept {
        P(other).Swap(*this);
        return *this;
    }
    P& operator=(P&& other) noexcept {
        P(std::move(other)).Swap(*this);
        return *this;
    }
    P& operator=(std::nullptr_t) noexcept {
        Reset();
        return *this;
    }

    // Takes over the creator's reference of a freshly made object without adding one.
    static P Adopt(T* object) noexcept {
        P p;
        p.m_object = object;
        return p;
    }
    // Gives up the held reference without releasing it.
    T* Detach() noexcept { return std::exchange(m_object, nullptr); }
    void Reset() noexcept { P().Swap(*this); }
    void Swap(P& other) noexcept { std::swap(m_object, other.m_object); }

    T* Get() const noexcept { return m_object; }
    T* operator->() const noexcept { return m_object; }
    T& operator*() const noexcept { return *m_object; }
    explicit operator bool() const noexcept { return m_object != nullptr; }

private:
    void Acquire() const {
        if (m_object) m_object->AddRef();
    }
    void Drop() {
        if (T* object = std::exchange(m_object, nullptr)) object->Release();
    }

    T* m_object = nullptr;
};

template <class T>
using PC = P<const T>;

// Plain, non-counting reference: the holder knows the object outlives it.
template <class T>
using PFrail = T*;

template <class T, class U>
bool operator==(const P<T>& a, const P<U>& b) noexcept {
    return a.Get() == b.Get();
}
template <class T>
bool operator==(const P<T>& a, std::nullptr_t) noexcept {
    return !a;
}

// Creates a counted object; the returned reference is the creator's first one.
template <class T, class... Args>
P<T> New(Args&&... args) {
    return P<T>::Adopt(new T(std::forward<Args>(args)...));
}

// Checked cast to another interface or class; empty when the object is not one.
template <class T, class U>
P<T> Cast(const P<U>& from) noexcept {
    return P<T>(dynamic_cast<T*>(from.Get()));
}
template <class T, class U>
T* FrailCast(U* from) noexcept {
    return dynamic_cast<T*>(from);
}

}  // namespace tarn
