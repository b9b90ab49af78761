#pragma once
// What every element has: geometry, name, rotation, mirroring, visibility, state flags,
// tags and the listeners told of geometry changes.

#include <wx/affinematrix2d.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "graphics/Geometry.h"
#include "tarn/Object.h"

namespace graphics {

class CPaintMatrixDC;
class IGraphicListener;

class CGraphicBase : public tarn::CObject {
public:
    static constexpr std::uint32_t kFlagInitial = 1u << 0;
    static constexpr std::uint32_t kFlagStateBit1 = 1u << 1;
    static constexpr std::uint32_t kFlagHovered = 1u << 2;
    static constexpr std::uint32_t kFlagPlaceholder = 1u << 4;
    static constexpr std::uint32_t kFlagEditingHints = 1u << 5;
    static constexpr std::uint32_t kFlagPressed = 1u << 8;

    CGraphicBase() = default;
    CGraphicBase(const CGraphicBase&) = delete;
    CGraphicBase& operator=(const CGraphicBase&) = delete;

    virtual std::wstring GetName() const { return m_name; }
    void SetName(std::wstring name) { m_name = std::move(name); }
    // The name; when empty, the localized display name of the type.
    virtual std::wstring GetDisplayName() const;
    virtual int GetType() const = 0;

    virtual CDPoint GetTopLeft() const;
    virtual CDPoint GetCenter() const { return m_center; }
    virtual void SetCenter(CDPoint center);
    virtual CDSize GetSize() const { return m_size; }
    virtual void SetSize(CDSize size);
    // Resizes so that the rotated rectangle's extents become size (each side at least 1).
    virtual void SetRotatedSize(CDSize size);
    virtual CDSize GetRotatedSize() const;
    // Truncates to whole degrees and brings the value into 0..360.
    virtual void SetRotation(double degrees);
    virtual double GetRotation() const { return m_rotation; }
    // Axis 0 is x, 1 is y.
    virtual void SetMirror(int axis, bool mirrored);
    virtual bool IsMirrored(int axis) const;
    virtual CDRect GetBoundingRect() const;
    // The rotated rectangle as nine points: corners and edge middles, closed.
    virtual std::vector<CDPoint> GetOutline() const;
    virtual void Paint(CPaintMatrixDC& dc);
    virtual void SetFlags(std::uint32_t flags) { m_flags = flags; }
    virtual std::uint32_t GetFlags() const { return m_flags; }
    virtual bool GetStateBit1() const { return (GetFlags() & kFlagStateBit1) != 0; }
    virtual void SetStateBit1(bool on);
    // The toolkit stock cursor over the element, -1 for the view's own.
    virtual int GetCursorId() const { return -1; }
    virtual bool IsContentEmpty() const { return false; }
    // Maps the bounding rect through matrix and takes centre and extents from the result.
    virtual void Transform(const wxAffineMatrix2D& matrix);
    virtual std::wstring GetHint() const { return {}; }

    bool IsVisible() const { return m_visible; }
    void SetVisible(bool visible) { m_visible = visible; }
    bool HasFlag(std::uint32_t flag) const { return (GetFlags() & flag) != 0; }
    void SetFlag(std::uint32_t flag, bool on);

    const std::set<std::wstring>& GetTags() const { return m_tags; }
    void SetTags(std::set<std::wstring> tags) { m_tags = std::move(tags); }

    void AddListener(IGraphicListener* listener);
    void RemoveListener(IGraphicListener* listener);

protected:
    void NotifyChanged();
    // Stores a rotation as given, without normalising (XML reading).
    void StoreRotation(double degrees) { m_rotation = degrees; }
    void CopyBaseFrom(const CGraphicBase& other);

private:
    std::vector<IGraphicListener*> m_listeners;
    CDPoint m_center;
    CDSize m_size;
    std::wstring m_name;
    double m_rotation = 0;
    std::uint32_t m_flags = kFlagInitial;
    bool m_mirrorX = false;
    bool m_mirrorY = false;
    bool m_visible = true;
    std::set<std::wstring> m_tags;
};

}  // namespace graphics
