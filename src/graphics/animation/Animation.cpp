#include "graphics/animation/Animation.h"

#include "graphics/ResourceStore.h"
#include "graphics/XmlValues.h"
#include "tarn/win32/DrawingSettings.h"

namespace graphics::animation {
namespace {

// More frames than this in a stored animation are taken as damage.
constexpr std::int32_t kMaxFrames = 10000;
// All frames together: many frames may name one small, well-compressed, huge picture.
constexpr long long kMaxTotalPixels = 64LL * 1024 * 1024;

}  // namespace

void DrawFrame(wxGraphicsContext& context, const wxBitmap& frame, const CDRect& rect) {
    tarn::win32::drawing::CSavedState saved(context);
    tarn::win32::drawing::SetInterpolationMode(context, 4);
    context.DrawBitmap(frame, rect.x, rect.y, rect.width, rect.height);
}

bool CAnimation::NextFrame() {
    if (m_index >= static_cast<int>(m_frames.size()) - 1) return false;
    ++m_index;
    return true;
}

const wxBitmap* CAnimation::GetFirstFrame() const {
    return m_frames.empty() ? nullptr : m_frames.front().get();
}

const wxBitmap* CAnimation::GetCurrentFrame() const {
    if (m_index < 0 || m_index >= static_cast<int>(m_frames.size())) return nullptr;
    return m_frames[static_cast<std::size_t>(m_index)].get();
}

int CAnimation::GetDelay() const {
    if (m_delay > 0) return m_delay;
    // No frames: nothing to step to.
    if (m_frames.empty()) return 0;
    return 1000 / static_cast<int>(m_frames.size());
}

void CAnimation::Clear() {
    m_frames.clear();
    m_index = 0;
}

int CAnimation::GetWidth() const { return m_frames.empty() ? -1 : m_frames.front()->GetWidth(); }

int CAnimation::GetHeight() const {
    return m_frames.empty() ? -1 : m_frames.front()->GetHeight();
}

void CAnimation::AddFrame(const wxBitmap& frame) {
    if (frame.IsOk()) m_frames.push_back(std::make_unique<wxBitmap>(frame));
}

tarn::P<IAnimation> CAnimation::NewInstance() const { return tarn::New<CAnimation>(); }

void CAnimation::Draw(wxGraphicsContext& context, const CDRect& rect) const {
    const wxBitmap* frame = m_playing ? GetCurrentFrame() : GetFirstFrame();
    if (frame) DrawFrame(context, *frame, rect);
}

void CAnimation::ToXml(wxXmlNode& node, IResourceStore* store) const {
    xml::WriteInt(node, "count", static_cast<long>(m_frames.size()));
    xml::WriteInt(node, "delay", m_delay);
    xml::WriteBool(node, "loop", m_loop);
    auto* output = dynamic_cast<IResourceOutputStore*>(store);
    if (!output) return;
    for (std::size_t i = 0; i < m_frames.size(); ++i) {
        output->StoreBitmap(node, L"frame" + std::to_wstring(i), *m_frames[i]);
    }
}

void CAnimation::FromXml(const wxXmlNode& node, IResourceInputStore& store) {
    std::int32_t count = 0;
    xml::ReadInt(node, "count", count);
    xml::ReadInt(node, "delay", m_delay);
    xml::ReadBool(node, "loop", m_loop);
    if (count < 1) return;
    count = std::min(count, kMaxFrames);
    wxFileName fileName;
    long long pixels = 0;
    for (std::int32_t i = 0; i < count; ++i) {
        auto frame = store.LoadBitmap(node, L"frame" + std::to_wstring(i), fileName);
        if (!frame || !frame->IsOk()) continue;
        pixels += static_cast<long long>(frame->GetWidth()) * frame->GetHeight();
        if (pixels > kMaxTotalPixels) break;  // the frames so far still play
        m_frames.push_back(std::move(frame));
    }
}

}  // namespace graphics::animation
