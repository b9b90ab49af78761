#include "graphics/animation/GIFAnimation.h"

#include <wx/log.h>
#include <wx/wfstream.h>

#include <algorithm>

#include "graphics/PictureDecoding.h"
#include "graphics/ResourceStore.h"
#include "graphics/XmlValues.h"
#include "tarn/win32/PictureDecoder.h"

namespace graphics::animation {
namespace {

// Limits that keep a damaged GIF from claiming unbounded memory.
constexpr long long kMaxCanvasPixels = 16LL * 1024 * 1024;
constexpr long long kMaxTotalPixels = 64LL * 1024 * 1024;
constexpr std::int32_t kMaxStoredFrames = 10000;

}  // namespace

bool CGIFAnimation::NextFrame() {
    if (m_index >= static_cast<int>(m_frames.size()) - 1) return false;
    ++m_index;
    return true;
}

const wxBitmap* CGIFAnimation::GetFirstFrame() const {
    return m_frames.empty() ? nullptr : m_frames.front().get();
}

const wxBitmap* CGIFAnimation::GetCurrentFrame() const {
    if (m_index < 0 || m_index >= static_cast<int>(m_frames.size())) return nullptr;
    return m_frames[static_cast<std::size_t>(m_index)].get();
}

int CGIFAnimation::GetDelay() const {
    if (m_index < 0 || m_index >= static_cast<int>(m_delays.size())) return 0;
    const int delay = m_delays[static_cast<std::size_t>(m_index)];
    return delay <= kMinDelay ? kDefaultDelay : delay;
}

void CGIFAnimation::Clear() {
    m_frames.clear();
    m_delays.clear();
    m_size = wxSize();
    m_index = 0;
}

int CGIFAnimation::GetWidth() const {
    return m_frames.empty() ? -1 : m_frames.front()->GetWidth();
}

int CGIFAnimation::GetHeight() const {
    return m_frames.empty() ? -1 : m_frames.front()->GetHeight();
}

tarn::P<IAnimation> CGIFAnimation::NewInstance() const { return tarn::New<CGIFAnimation>(); }

void CGIFAnimation::Draw(wxGraphicsContext& context, const CDRect& rect) const {
    const wxBitmap* frame = m_playing ? GetCurrentFrame() : GetFirstFrame();
    if (frame) DrawFrame(context, *frame, rect);
}

bool CGIFAnimation::LoadFile(const wxString& path) {
    wxLogNull quiet;
    wxFileInputStream stream(path);
    if (!stream.IsOk()) {
        Clear();
        return false;
    }
    return Load(stream);
}

bool CGIFAnimation::Load(wxInputStream& stream) {
    Clear();
    std::vector<std::uint8_t> bytes;
    if (!ReadPictureBytes(stream, bytes)) return false;
    tarn::win32::SAnimationLimits limits;
    limits.picture.maxPixels = kMaxCanvasPixels;
    limits.maxFrames = kMaxStoredFrames;
    limits.maxTotalPixels = kMaxTotalPixels;
    std::vector<tarn::win32::SAnimationFrame> frames;
    std::string error;
    if (!tarn::win32::DecodeAnimation(bytes.data(), bytes.size(), limits, frames, error)) {
        return false;
    }
    for (const tarn::win32::SAnimationFrame& frame : frames) {
        const wxImage image = ToImage(frame.pixels);
        auto bitmap = image.IsOk() ? std::make_unique<wxBitmap>(image, 32) : nullptr;
        if (!bitmap || !bitmap->IsOk()) {
            Clear();
            return false;
        }
        m_frames.push_back(std::move(bitmap));
        m_delays.push_back(frame.delay);
    }
    m_size = wxSize(frames.front().pixels.width, frames.front().pixels.height);
    return true;
}

void CGIFAnimation::ToXml(wxXmlNode& node, IResourceStore* store) const {
    xml::WriteInt(node, "count", static_cast<long>(m_frames.size()));
    xml::WriteBool(node, "loop", m_loop);
    xml::WriteIntPoint(node, "size", wxPoint(m_size.x, m_size.y));
    auto* output = dynamic_cast<IResourceOutputStore*>(store);
    for (std::size_t i = 0; i < m_frames.size(); ++i) {
        wxXmlNode* frame = xml::AddChild(node, wxString::Format("frame%zu", i));
        if (output) output->StoreBitmap(*frame, L"frame", *m_frames[i]);
        xml::WriteInt(*frame, "delay", m_delays[i]);
    }
}

void CGIFAnimation::FromXml(const wxXmlNode& node, IResourceInputStore& store) {
    std::int32_t count = 0;
    xml::ReadInt(node, "count", count);
    xml::ReadBool(node, "loop", m_loop);
    wxPoint size(m_size.x, m_size.y);
    xml::ReadIntPoint(node, "size", size);
    m_size = wxSize(size.x, size.y);
    count = std::min(count, kMaxStoredFrames);
    wxFileName fileName;
    long long pixels = 0;
    for (std::int32_t i = 0; i < count; ++i) {
        const wxXmlNode* child = xml::FindChild(node, wxString::Format("frame%d", i));
        if (!child) continue;
        auto frame = store.LoadBitmap(*child, L"frame", fileName);
        if (!frame || !frame->IsOk()) continue;
        // All frames together are bounded: many may name one huge, well-compressed picture.
        pixels += static_cast<long long>(frame->GetWidth()) * frame->GetHeight();
        if (pixels > kMaxTotalPixels) break;
        std::int32_t delay = 0;
        xml::ReadInt(*child, "delay", delay);
        m_frames.push_back(std::move(frame));
        m_delays.push_back(delay);
    }
}

}  // namespace graphics::animation
