#pragma once
// What both animation kinds share: owned frames, the current index, loop and play state, and
// drawing the frame that is due.

#include <memory>
#include <vector>

#include "graphics/animation/IAnimation.h"

namespace graphics::animation {

class CFrameAnimation : public tarn::CObject, public virtual IAnimation {
public:
    void Rewind() override { m_index = 0; }
    bool NextFrame() override;
    const wxBitmap* GetFirstFrame() const override;
    const wxBitmap* GetCurrentFrame() const override;
    void SetLoop(bool loop) override { m_loop = loop; }
    bool GetLoop() const override { return m_loop; }
    void Clear() override;
    bool IsEmpty() const override { return m_frames.empty(); }
    int GetWidth() const override;
    int GetHeight() const override;
    void Play() override { m_playing = true; }
    bool IsPlaying() const override { return m_playing; }
    void Stop() override { m_playing = false; }
    void Draw(wxGraphicsContext& context, const CDRect& rect) const override;

    std::size_t GetFrameCount() const { return m_frames.size(); }
    const wxBitmap& GetFrame(std::size_t index) const { return *m_frames.at(index); }
    int GetIndex() const { return m_index; }

protected:
    // Stored animations with more frames than this are taken as damaged.
    static constexpr std::int32_t kMaxStoredFrames = 10000;
    // All frames together: many frames may name one small, well-compressed, huge picture.
    static constexpr long long kMaxTotalPixels = 64LL * 1024 * 1024;

    void AppendFrame(std::unique_ptr<wxBitmap> frame) { m_frames.push_back(std::move(frame)); }
    // Adds the frame's pixels to the total read so far; false once that is over the limit.
    static bool FitsTheBudget(const wxBitmap& frame, long long& total);

    bool m_loop = false;

private:
    std::vector<std::unique_ptr<wxBitmap>> m_frames;
    int m_index = 0;
    bool m_playing = false;
};

}  // namespace graphics::animation
