#pragma once
// The byte streams chunk files are read and written through: random access, plus the two
// space operations that let a chunk grow or shrink in place.

#include <cstddef>
#include <cstdint>

#include "tarn/Object.h"
#include "tarn/Pointer.h"
#include "tarn/URI.h"

namespace chf {

// Root of the chunk-file interfaces; counted like every other object.
class IInterface : public virtual tarn::IBase {};

class IStream : public virtual IInterface {
public:
    virtual std::uint64_t Tell() const = 0;
    virtual std::uint64_t GetSize() const = 0;
    // Any position may be set; reading beyond the end fails, writing there grows the stream.
    virtual void Seek(std::uint64_t position) = 0;
    virtual void Write(const void* data, std::size_t count) = 0;
    // Reads exactly count bytes or raises tarn::CEndOfStreamError.
    virtual void Read(void* buffer, std::size_t count) = 0;
    // Opens count bytes (zeros) at the current position, moving what follows up.
    virtual void InsertSpace(std::uint64_t count) = 0;
    // Drops count bytes at the current position, moving what follows down.
    virtual void RemoveSpace(std::uint64_t count) = 0;
    // The file behind the stream, for error messages (may be empty).
    virtual tarn::P<tarn::CURI> GetURI() const = 0;
};

}  // namespace chf
