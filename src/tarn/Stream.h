#pragma once
// Byte streams, opened by URI through the stream manager. Nine kinds: plain, resettable and
// seekable, each for reading, writing or both; a seekable kind is also resettable.
// Every operation on a closed stream raises CStreamClosedError.

#include <cstddef>
#include <cstdint>

#include "tarn/Object.h"
#include "tarn/Pointer.h"
#include "tarn/URI.h"

namespace tarn {

enum class ESeekOrigin { Begin, Current, End };

class IStreamBase : public virtual IBase {
public:
    // The URI the stream was opened for (may be empty).
    virtual P<CURI> GetURI() const = 0;
    virtual bool IsOpen() const = 0;
    // Releases what the stream holds; closing a closed stream does nothing.
    virtual void Close() = 0;
};

class IInStream : public virtual IStreamBase {
public:
    // Reads exactly count bytes. Meeting the end first raises CEndOfStreamError; the bytes
    // before the end are consumed all the same.
    virtual void Read(void* buffer, std::size_t count) = 0;
    // Reads up to count bytes and returns how many; fewer only at the end of the data.
    virtual std::size_t ReadSome(void* buffer, std::size_t count) = 0;
};

class IOutStream : public virtual IStreamBase {
public:
    // Writes all count bytes or raises.
    virtual void Write(const void* data, std::size_t count) = 0;
    // Hands everything written so far on to the final store.
    virtual void Flush() = 0;
};

// A remembered position of an input/output stream.
class IStreamMarker : public virtual IBase {
public:
    virtual std::uint64_t GetPosition() const = 0;
    // Takes the stream back to the remembered position.
    virtual void Restore() = 0;
};

class IIOStream : public virtual IInStream, public virtual IOutStream {
public:
    // Remembers the current position; the marker keeps the stream alive.
    virtual P<IStreamMarker> CreateMarker() = 0;
};

class IResetableStream : public virtual IStreamBase {
public:
    // Back to the start of the data.
    virtual void Reset() = 0;
};

class IResetableInStream : public virtual IInStream, public virtual IResetableStream {};
class IResetableOutStream : public virtual IOutStream, public virtual IResetableStream {};
class IResetableIOStream : public virtual IIOStream,
                           public virtual IResetableInStream,
                           public virtual IResetableOutStream {};

class ISeekableStream : public virtual IResetableStream {
public:
    virtual std::uint64_t GetPosition() const = 0;
    virtual std::uint64_t GetSize() const = 0;
    // Moves the position and returns it. Beyond the end is allowed (reading there meets the
    // end; writing there fills the gap with zeros); before the start raises CInvalidArgError.
    virtual std::uint64_t Seek(std::int64_t offset, ESeekOrigin origin) = 0;
};

class ISeekableInStream : public virtual IResetableInStream, public virtual ISeekableStream {};

class ISeekableOutStream : public virtual IResetableOutStream, public virtual ISeekableStream {
public:
    // Cuts the data to size bytes or grows it with zeros; the position stays where it is.
    virtual void SetSize(std::uint64_t size) = 0;
};

class ISeekableIOStream : public virtual IResetableIOStream,
                          public virtual ISeekableInStream,
                          public virtual ISeekableOutStream {};

}  // namespace tarn
