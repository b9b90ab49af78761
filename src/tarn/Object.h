#pragma once
// Reference-counted objects and the root of every interface.

#include <atomic>
#include <cstdint>
#include <string>
#include <typeinfo>

namespace tarn {

// Root of every interface. Interfaces derive from it virtually so that an object
// implementing several of them carries a single IBase.
class IBase {
public:
    virtual ~IBase() = default;
    virtual void AddRef() const = 0;
    virtual void Release() const = 0;
    // Every object answers true; nothing relies on another answer.
    virtual bool IsObjectOf(int kind, int variant, int flags) const = 0;
    virtual std::wstring GetObjectDescription() const = 0;
};

// The reference count. A new object starts at 1: its creator holds that reference.
class CReferencable {
public:
    // Marks an object whose destruction has begun, far enough below zero that references
    // taken and dropped by its destructor never bring the count back to zero.
    static constexpr std::int32_t kDestroyingCount = -1000000;

    CReferencable() = default;
    // A copy is a new object with its own single reference.
    CReferencable(const CReferencable&) noexcept {}
    CReferencable& operator=(const CReferencable&) noexcept { return *this; }

    std::int32_t GetRefCount() const { return m_refs.load(std::memory_order_relaxed); }

protected:
    ~CReferencable() = default;

    mutable std::atomic<std::int32_t> m_refs{1};
};

class CObject : public CReferencable, public virtual IBase {
public:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
    ~CObject() override = default;

    void AddRef() const override;
    void Release() const override;
    bool IsObjectOf(int kind, int variant, int flags) const override;
    // The run-time type name of the most-derived class followed by " object".
    std::wstring GetObjectDescription() const override;

protected:
    // Frees the object; Release calls it when the last reference goes.
    virtual void Destroy();
};

// The readable (demangled) name of a run-time type.
std::wstring TypeName(const std::type_info& type);

}  // namespace tarn
