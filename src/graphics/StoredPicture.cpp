#include "graphics/StoredPicture.h"

#include <utility>

namespace graphics {

CStoredPicture::CStoredPicture(IPictureSource& source, wxString name, std::wstring written,
                               wxBitmapType type)
    : m_source(&source), m_name(std::move(name)), m_written(std::move(written)), m_type(type) {}

CStoredPicture::CStoredPicture(std::unique_ptr<wxBitmap> bitmap) : m_bitmap(std::move(bitmap)) {}

CStoredPicture::~CStoredPicture() { GiveBack(); }

const wxBitmap* CStoredPicture::Get() {
    if (!m_bitmap && !m_failed && m_source) {
        m_bitmap = m_source->DecodeEntry(m_name, m_written, m_type);
        m_failed = m_bitmap == nullptr;
    }
    return m_bitmap.get();
}

void CStoredPicture::GiveBack() {
    if (!m_source || !m_bitmap) return;
    m_source->Forget(*m_bitmap);
    m_bitmap.reset();
}

void CStoredPicture::Detach() { m_source = nullptr; }

}  // namespace graphics
