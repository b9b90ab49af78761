#include "graphics/animation/GIFAnimation.h"

#include <wx/gifdecod.h>
#include <wx/log.h>
#include <wx/wfstream.h>

#include <algorithm>
#include <cstring>

#include "graphics/ResourceStore.h"
#include "graphics/XmlValues.h"

namespace graphics::animation {
namespace {

// Limits that keep a damaged GIF from claiming unbounded memory.
constexpr long long kMaxCanvasPixels = 16LL * 1024 * 1024;
constexpr long long kMaxTotalPixels = 64LL * 1024 * 1024;
constexpr std::int32_t kMaxStoredFrames = 10000;

wxImage TransparentCanvas(wxSize size) {
    wxImage image(size.x, size.y, true);
    image.InitAlpha();
    std::memset(image.GetAlpha(), 0, static_cast<std::size_t>(size.x) * size.y);
    return image;
}

// The part of a frame's rectangle that lies on the canvas.
wxRect OnCanvas(const wxGIFDecoder& decoder, unsigned frame, wxSize canvas) {
    return wxRect(decoder.GetFramePosition(frame), decoder.GetFrameSize(frame))
        .Intersect(wxRect(canvas));
}

void DrawOn(wxImage& canvas, const wxImage& frame, wxPoint at) {
    for (int y = 0; y < frame.GetHeight(); ++y) {
        const int cy = at.y + y;
        if (cy < 0 || cy >= canvas.GetHeight()) continue;
        for (int x = 0; x < frame.GetWidth(); ++x) {
            const int cx = at.x + x;
            if (cx < 0 || cx >= canvas.GetWidth() || frame.IsTransparent(x, y)) continue;
            canvas.SetRGB(cx, cy, frame.GetRed(x, y), frame.GetGreen(x, y), frame.GetBlue(x, y));
            canvas.SetAlpha(cx, cy, 255);
        }
    }
}

void ClearOn(wxImage& canvas, const wxRect& rect) {
    for (int y = rect.y; y < rect.GetBottom() + 1; ++y) {
        for (int x = rect.x; x < rect.GetRight() + 1; ++x) {
            canvas.SetRGB(x, y, 0, 0, 0);
            canvas.SetAlpha(x, y, 0);
        }
    }
}

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
    wxLogNull quiet;
    wxGIFDecoder decoder;
    if (decoder.LoadGIF(stream) != wxGIF_OK || decoder.GetFrameCount() == 0) return false;
    const wxSize size = decoder.GetAnimationSize();
    const long long pixels = static_cast<long long>(size.x) * size.y;
    if (size.x < 1 || size.y < 1 || pixels > kMaxCanvasPixels ||
        pixels * decoder.GetFrameCount() > kMaxTotalPixels) {
        return false;
    }
    // The canvas as the frames before the current one left it.
    wxImage base = TransparentCanvas(size);
    for (unsigned i = 0; i < decoder.GetFrameCount(); ++i) {
        wxImage own;
        if (!decoder.ConvertToImage(i, &own) || !own.IsOk()) {
            Clear();
            return false;
        }
        wxImage composed = base.Copy();
        DrawOn(composed, own, decoder.GetFramePosition(i));
        switch (decoder.GetDisposalMethod(i)) {
            case wxANIM_UNSPECIFIED:
            case wxANIM_DONOTREMOVE:
                base = composed.Copy();
                break;
            case wxANIM_TOBACKGROUND:
                ClearOn(base, OnCanvas(decoder, i, size));
                break;
            case wxANIM_TOPREVIOUS:
                break;
        }
        m_frames.push_back(std::make_unique<wxBitmap>(composed, 32));
        m_delays.push_back(static_cast<int>(decoder.GetDelay(i)));
    }
    m_size = size;
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
