#include "tarn/Object.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "tarn/Text.h"

namespace tarn {

void CObject::AddRef() const { m_refs.fetch_add(1, std::memory_order_relaxed); }

void CObject::Release() const {
    if (m_refs.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        m_refs.store(kDestroyingCount, std::memory_order_relaxed);
        const_cast<CObject*>(this)->Destroy();
    }
}

bool CObject::IsObjectOf(int, int, int) const { return true; }

void CObject::Destroy() { delete this; }

std::wstring CObject::GetObjectDescription() const {
    return TypeName(typeid(*this)) + L" object";
}

std::wstring TypeName(const std::type_info& type) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
    return FromUtf8(status == 0 && demangled ? demangled.get() : type.name());
}

}  // namespace tarn
