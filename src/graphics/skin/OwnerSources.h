#pragma once
// What an owner lends the layers of its skin while they paint or measure: its text, its
// pictures and a painter for custom content. Each may be missing.

#include <wx/bitmap.h>

#include <string>

#include "graphics/Geometry.h"
#include "tarn/Object.h"

namespace graphics {
class CPaintMatrixDC;
}

namespace graphics::skin {

class ITextSource : public virtual tarn::IBase {
public:
    virtual std::wstring GetText(const std::wstring& property) const = 0;
};

class IAnimationSource : public virtual tarn::IBase {
public:
    // The picture for property, or null.
    virtual const wxBitmap* GetPicture(const std::wstring& property) const = 0;
};

class ICustomPainter : public virtual tarn::IBase {
public:
    // Draws the content of the custom layer id into rect through the context's graphics
    // context.
    virtual void PaintCustom(CPaintMatrixDC& dc, const CDRect& rect, const std::wstring& id) = 0;
};

struct COwnerSources {
    const ITextSource* text = nullptr;
    const IAnimationSource* picture = nullptr;
    ICustomPainter* custom = nullptr;
};

}  // namespace graphics::skin
