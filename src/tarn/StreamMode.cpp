#include "tarn/StreamMode.h"

#include "tarn/Exception.h"

namespace tarn {

void CStreamMode::Validate(const std::wstring& method, const IBase* object) const {
    if ((access & ~(kRead | kWrite)) != 0) throw CInvalidArgError(method, L"access", object);
    if (sharing < kShareNone || sharing > kShareAll) {
        throw CInvalidArgError(method, L"sharing", object);
    }
    if (creation < kOpenExisting || creation > kOpenAlways) {
        throw CInvalidArgError(method, L"creation", object);
    }
}

}  // namespace tarn
