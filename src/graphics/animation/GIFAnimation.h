#pragma once
// An animation read from a GIF file: every frame fully composed, each with its own delay.

#include <wx/image.h>
#include <wx/stream.h>

#include "graphics/animation/FrameAnimation.h"

namespace graphics::animation {

class CGIFAnimation : public CFrameAnimation {
public:
    // Shorter frame delays are taken as this, as web browsers do.
    static constexpr int kMinDelay = 10;
    static constexpr int kDefaultDelay = 100;

    // The current frame's delay (10 ms or less read as 100 ms).
    int GetDelay() const override;
    void Clear() override;
    void ToXml(wxXmlNode& node, IResourceStore* store) const override;
    void FromXml(const wxXmlNode& node, IResourceInputStore& store) override;
    std::wstring GetTypeName() const override { return L"gif"; }
    tarn::P<IAnimation> NewInstance() const override;

    // Replaces the frames with those of the GIF; false (and empty) when it cannot be read.
    bool LoadFile(const wxString& path);
    bool Load(wxInputStream& stream);

    // The delay as stored for the frame.
    int GetFrameDelay(std::size_t index) const { return m_delays.at(index); }
    wxSize GetSize() const { return m_size; }

private:
    wxSize m_size;
    std::vector<int> m_delays;
};

}  // namespace graphics::animation
