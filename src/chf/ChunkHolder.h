#pragma once
// How chunk streams keep each other in step when one of them grows or shrinks.

#include <cstdint>

#include "chf/Stream.h"

namespace chf {

class CChunkStream;

// Told about space that appeared or vanished in the underlying stream. Positions are
// absolute (in the underlying stream); source is the chunk stream the change went through.
class IChunkSpaceListener : public virtual IInterface {
public:
    virtual void SpaceInserted(IStream* source, std::uint64_t position, std::uint64_t count) = 0;
    virtual void SpaceRemoved(IStream* source, std::uint64_t position, std::uint64_t count) = 0;
};

// Encloses chunk streams opened on its chunks. Its children report their own changes to it;
// it keeps a list of them (not counted: each child holds its holder, not the reverse).
class IChunkHolder : public virtual IChunkSpaceListener {
public:
    virtual void LinkChild(CChunkStream* child) = 0;
    virtual void UnlinkChild(CChunkStream* child) = 0;
};

}  // namespace chf
