#pragma once
// A picture of the content that is decoded when it is first needed. It may give its pixels
// back while it is not shown and is decoded again from the content when it is needed again,
// so that a menu of many pages starts as fast as one of a few and holds only what is in use.

#include <wx/bitmap.h>

#include <memory>
#include <string>

#include "tarn/Object.h"

namespace graphics {

// Where stored pictures come from: an open content file or folder.
class IPictureSource {
public:
    virtual ~IPictureSource() = default;
    // The entry as a bitmap of the given type, or null when it does not decode (the source
    // logs why). name is the internal entry name, written is the name as the content wrote it.
    virtual std::unique_ptr<wxBitmap> DecodeEntry(const wxString& name, const std::wstring& written,
                                                  wxBitmapType type) = 0;
    // A bitmap made by DecodeEntry is gone; its pixels no longer count.
    virtual void Forget(const wxBitmap& bitmap) = 0;
};

class CStoredPicture : public tarn::CObject {
public:
    // A picture read from the source's entry when first needed.
    CStoredPicture(IPictureSource& source, wxString name, std::wstring written, wxBitmapType type);
    // A picture that is a bitmap from the start; it is never given back.
    explicit CStoredPicture(std::unique_ptr<wxBitmap> bitmap);
    ~CStoredPicture() override;
    CStoredPicture(const CStoredPicture&) = delete;
    CStoredPicture& operator=(const CStoredPicture&) = delete;

    // The bitmap, decoded now if it is not yet; null when it does not decode. A picture that
    // failed once stays missing rather than being tried again at every paint.
    const wxBitmap* Get();
    bool IsDecoded() const { return m_bitmap != nullptr; }
    // Drops the pixels of a picture read from a source; the next Get decodes it again.
    void GiveBack();
    // The source closes: what is decoded stays, nothing more can be.
    void Detach();

    // The entry name as the content wrote it; empty for a picture that was a bitmap.
    const std::wstring& GetName() const { return m_written; }
    wxBitmapType GetType() const { return m_type; }

private:
    IPictureSource* m_source = nullptr;
    wxString m_name;
    std::wstring m_written;
    wxBitmapType m_type = wxBITMAP_TYPE_INVALID;
    std::unique_ptr<wxBitmap> m_bitmap;
    bool m_failed = false;
};

}  // namespace graphics
