#include "graphics/animation/FrameAnimation.h"

#include "tarn/win32/DrawingSettings.h"

namespace graphics::animation {

void DrawFrame(wxGraphicsContext& context, const wxBitmap& frame, const CDRect& rect) {
    tarn::win32::drawing::CSavedState saved(context);
    tarn::win32::drawing::SetInterpolationMode(context, 4);
    context.DrawBitmap(frame, rect.x, rect.y, rect.width, rect.height);
}

bool CFrameAnimation::NextFrame() {
    if (m_index >= static_cast<int>(m_frames.size()) - 1) return false;
    ++m_index;
    return true;
}

const wxBitmap* CFrameAnimation::GetFirstFrame() const {
    return m_frames.empty() ? nullptr : m_frames.front().get();
}

const wxBitmap* CFrameAnimation::GetCurrentFrame() const {
    if (m_index < 0 || m_index >= static_cast<int>(m_frames.size())) return nullptr;
    return m_frames[static_cast<std::size_t>(m_index)].get();
}

void CFrameAnimation::Clear() {
    m_frames.clear();
    m_index = 0;
}

int CFrameAnimation::GetWidth() const {
    return m_frames.empty() ? -1 : m_frames.front()->GetWidth();
}

int CFrameAnimation::GetHeight() const {
    return m_frames.empty() ? -1 : m_frames.front()->GetHeight();
}

void CFrameAnimation::Draw(wxGraphicsContext& context, const CDRect& rect) const {
    const wxBitmap* frame = m_playing ? GetCurrentFrame() : GetFirstFrame();
    if (frame) DrawFrame(context, *frame, rect);
}

bool CFrameAnimation::FitsTheBudget(const wxBitmap& frame, long long& total) {
    total += static_cast<long long>(frame.GetWidth()) * frame.GetHeight();
    return total <= kMaxTotalPixels;
}

}  // namespace graphics::animation
