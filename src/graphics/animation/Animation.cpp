#include "graphics/animation/Animation.h"

#include <algorithm>

#include "graphics/ResourceStore.h"
#include "graphics/XmlValues.h"

namespace graphics::animation {

int CAnimation::GetDelay() const {
    if (m_delay > 0) return m_delay;
    // No frames: nothing to step to.
    if (IsEmpty()) return 0;
    return 1000 / static_cast<int>(GetFrameCount());
}

void CAnimation::AddFrame(const wxBitmap& frame) {
    if (frame.IsOk()) AppendFrame(std::make_unique<wxBitmap>(frame));
}

tarn::P<IAnimation> CAnimation::NewInstance() const { return tarn::New<CAnimation>(); }

void CAnimation::ToXml(wxXmlNode& node, IResourceStore* store) const {
    xml::WriteInt(node, "count", static_cast<long>(GetFrameCount()));
    xml::WriteInt(node, "delay", m_delay);
    xml::WriteBool(node, "loop", m_loop);
    auto* output = dynamic_cast<IResourceOutputStore*>(store);
    if (!output) return;
    for (std::size_t i = 0; i < GetFrameCount(); ++i) {
        output->StoreBitmap(node, L"frame" + std::to_wstring(i), GetFrame(i));
    }
}

void CAnimation::FromXml(const wxXmlNode& node, IResourceInputStore& store) {
    std::int32_t count = 0;
    xml::ReadInt(node, "count", count);
    xml::ReadInt(node, "delay", m_delay);
    xml::ReadBool(node, "loop", m_loop);
    if (count < 1) return;
    count = std::min(count, kMaxStoredFrames);
    wxFileName fileName;
    long long pixels = 0;
    for (std::int32_t i = 0; i < count; ++i) {
        auto frame = store.LoadBitmap(node, L"frame" + std::to_wstring(i), fileName);
        if (!frame || !frame->IsOk()) continue;
        if (!FitsTheBudget(*frame, pixels)) break;  // the frames so far still play
        AppendFrame(std::move(frame));
    }
}

}  // namespace graphics::animation
