#pragma once
// What an animation element plays: frames with delays, stepped by the element that shows them.

#include <wx/bitmap.h>
#include <wx/graphics.h>
#include <wx/xml/xml.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/Geometry.h"
#include "tarn/Object.h"
#include "tarn/Pointer.h"

namespace graphics {
class IResourceStore;
class IResourceInputStore;
}

namespace graphics::animation {

class IAnimation : public virtual tarn::IBase {
public:
    virtual void Rewind() = 0;
    // Advances unless at the last frame.
    virtual bool NextFrame() = 0;
    virtual const wxBitmap* GetFirstFrame() const = 0;
    virtual const wxBitmap* GetCurrentFrame() const = 0;
    virtual void SetLoop(bool loop) = 0;
    virtual bool GetLoop() const = 0;
    // Milliseconds until the next frame; 0 when there is nothing to wait for.
    virtual int GetDelay() const = 0;
    virtual void Clear() = 0;
    virtual bool IsEmpty() const = 0;
    // Of the first frame; -1 without frames.
    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    virtual void ToXml(wxXmlNode& node, IResourceStore* store) const = 0;
    virtual void FromXml(const wxXmlNode& node, IResourceInputStore& store) = 0;
    virtual void Play() = 0;
    virtual bool IsPlaying() const = 0;
    virtual void Stop() = 0;
    // The current frame while playing, else the first, scaled into rect.
    virtual void Draw(wxGraphicsContext& context, const CDRect& rect) const = 0;
    virtual std::wstring GetTypeName() const = 0;
    // A new, empty animation of the same kind.
    virtual tarn::P<IAnimation> NewInstance() const = 0;
};

// Draws frame scaled into rect with bicubic interpolation, the graphics state kept.
void DrawFrame(wxGraphicsContext& context, const wxBitmap& frame, const CDRect& rect);

}  // namespace graphics::animation
