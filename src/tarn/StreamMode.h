#pragma once
// How a stream is opened: access, what others may do meanwhile, creation, clean-up.

#include <string>

#include "tarn/Object.h"

namespace tarn {

struct CStreamMode {
    // Access bits. A stream kind always has its own access (an input stream reads), so 0
    // means "just what the kind needs"; extra bits widen it.
    static constexpr unsigned kRead = 1;
    static constexpr unsigned kWrite = 2;

    // Sharing: what other openers of the same file may do while this stream is open.
    static constexpr int kShareNone = 0;
    static constexpr int kShareRead = 1;
    static constexpr int kShareAll = 2;  // read, write, delete and rename

    // Creation.
    static constexpr int kOpenExisting = 1;
    static constexpr int kCreateAlways = 2;  // creates the file, replacing an existing one
    static constexpr int kOpenAlways = 3;    // opens the file, creating it when missing

    unsigned access = 0;
    int sharing = kShareRead;
    int creation = kOpenExisting;
    bool deleteOnClose = false;  // the file goes when the stream closes (temporary files)

    // An existing file, for reading alongside other readers.
    static CStreamMode Reading() { return {kRead, kShareRead, kOpenExisting, false}; }
    // A new or emptied file, for this stream alone.
    static CStreamMode Creating() { return {kWrite, kShareNone, kCreateAlways, false}; }
    // An existing or new file, for reading and writing by this stream alone.
    static CStreamMode Updating() { return {kRead | kWrite, kShareNone, kOpenAlways, false}; }

    // Raises CInvalidArgError naming method, the bad field and object for unknown access
    // bits, sharing values or creation values.
    void Validate(const std::wstring& method, const IBase* object) const;
};

}  // namespace tarn
