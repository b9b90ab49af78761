#pragma once
// Yielding and sleeping for the whole process.

#include <cstdint>

#include "tarn/Object.h"
#include "tarn/Pointer.h"

namespace tarn::win32 {

class CThreadManager : public CObject {
public:
    // The process-wide manager; creating it makes singleton waits go through Yield(true).
    static P<CThreadManager> Instance();

    // true: sleep one millisecond; false: give up the rest of the time slice.
    void Yield(bool sleep) const;
    void Sleep(std::uint32_t milliseconds) const;
};

}  // namespace tarn::win32
