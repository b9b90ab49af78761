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

}  // namespace

int CGIFAnimation::GetDelay() const {
    const int index = GetIndex();
    if (index < 0 || index >= static_cast<int>(m_delays.size())) return 0;
    const int delay = m_delays[static_cast<std::size_t>(index)];
    return delay <= kMinDelay ? kDefaultDelay : delay;
}

void CGIFAnimation::Clear() {
    CFrameAnimation::Clear();
    m_delays.clear();
    m_size = wxSize();
}

tarn::P<IAnimation> CGIFAnimation::NewInstance() const { return tarn::New<CGIFAnimation>(); }

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
    // Each frame becomes a bitmap as soon as it is composed: the decoded pixels of the whole
    // animation are never held at once.
    const auto keep = [this](const tarn::win32::SAnimationFrame& frame) {
        const wxImage image = ToImage(frame.pixels);
        auto bitmap = image.IsOk() ? std::make_unique<wxBitmap>(image, 32) : nullptr;
        if (!bitmap || !bitmap->IsOk()) return false;
        if (m_delays.empty()) m_size = wxSize(frame.pixels.width, frame.pixels.height);
        AppendFrame(std::move(bitmap));
        m_delays.push_back(frame.delay);
        return true;
    };
    std::string error;
    if (!tarn::win32::DecodeAnimation(bytes.data(), bytes.size(), limits, keep, error) ||
        GetFrameCount() == 0) {
        Clear();
        return false;
    }
    return true;
}

void CGIFAnimation::ToXml(wxXmlNode& node, IResourceStore* store) const {
    xml::WriteInt(node, "count", static_cast<long>(GetFrameCount()));
    xml::WriteBool(node, "loop", m_loop);
    xml::WriteIntPoint(node, "size", wxPoint(m_size.x, m_size.y));
    auto* output = dynamic_cast<IResourceOutputStore*>(store);
    for (std::size_t i = 0; i < GetFrameCount(); ++i) {
        wxXmlNode* frame = xml::AddChild(node, wxString::Format("frame%zu", i));
        if (output) output->StoreBitmap(*frame, L"frame", GetFrame(i));
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
        if (!FitsTheBudget(*frame, pixels)) break;
        std::int32_t delay = 0;
        xml::ReadInt(*child, "delay", delay);
        AppendFrame(std::move(frame));
        m_delays.push_back(delay);
    }
}

}  // namespace graphics::animation
