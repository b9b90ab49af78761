#pragma once
// An animation read from a GIF file: every frame fully composed, each with its own delay.

#include <wx/image.h>
#include <wx/stream.h>

#include "graphics/animation/Animation.h"

namespace graphics::animation {

class CGIFAnimation : public tarn::CObject, public virtual IAnimation {
public:
    // Shorter frame delays are taken as this, as web browsers do.
    static constexpr int kMinDelay = 10;
    static constexpr int kDefaultDelay = 100;

    void Rewind() override { m_index = 0; }
    bool NextFrame() override;
    const wxBitmap* GetFirstFrame() const override;
    const wxBitmap* GetCurrentFrame() const override;
    void SetLoop(bool loop) override { m_loop = loop; }
    bool GetLoop() const override { return m_loop; }
    // The current frame's delay (10 ms or less read as 100 ms).
    int GetDelay() const override;
    void Clear() override;
    bool IsEmpty() const override { return m_frames.empty(); }
    int GetWidth() const override;
    int GetHeight() const override;
    void ToXml(wxXmlNode& node, IResourceStore* store) const override;
    void FromXml(const wxXmlNode& node, IResourceInputStore& store) override;
    void Play() override { m_playing = true; }
    bool IsPlaying() const override { return m_playing; }
    void Stop() override { m_playing = false; }
    void Draw(wxGraphicsContext& context, const CDRect& rect) const override;
    std::wstring GetTypeName() const override { return L"gif"; }
    tarn::P<IAnimation> NewInstance() const override;

    // Replaces the frames with those of the GIF; false (and empty) when it cannot be read.
    bool LoadFile(const wxString& path);
    bool Load(wxInputStream& stream);

    std::size_t GetFrameCount() const { return m_frames.size(); }
    const wxBitmap& GetFrame(std::size_t index) const { return *m_frames.at(index); }
    // The delay as stored for the frame.
    int GetFrameDelay(std::size_t index) const { return m_delays.at(index); }
    wxSize GetSize() const { return m_size; }
    int GetIndex() const { return m_index; }

private:
    std::vector<std::unique_ptr<wxBitmap>> m_frames;
    wxSize m_size;
    std::vector<int> m_delays;
    int m_index = 0;
    bool m_loop = false;
    bool m_playing = false;
};

}  // namespace graphics::animation
