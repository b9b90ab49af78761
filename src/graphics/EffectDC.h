#pragma once
// A device context whose brushes, pens and text colours pass through effects: greyscale,
// white mode and brush and pen locks. Everything drawn through it, rich text included,
// follows the rules.

#include <wx/dc.h>
#include <wx/dcgraph.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>

namespace graphics {

class IEffectDC {
public:
    virtual ~IEffectDC() = default;
    virtual bool IsBrushLocked() const = 0;
    virtual bool IsPenLocked() const = 0;
    // Sets the lock; locking applies the given brush first.
    virtual void LockBrush(bool lock, const wxBrush& brush) = 0;
    virtual wxBrush GetCurrentBrush() const = 0;
    virtual void LockPen(bool lock, const wxPen& pen) = 0;
    virtual wxPen GetCurrentPen() const = 0;
    // Switching on sets text colour, brush and pen to opaque white.
    virtual void SetWhiteMode(bool white) = 0;
    virtual bool IsWhiteMode() const = 0;
};

// Circle mode: text runs are placed character by character on a spiral of rings around
// centre, starting at angle (radians, 0 pointing right, clockwise on screen).
struct CCircleText {
    bool on = false;
    wxPoint centre;
    double angle = 0;
    double travelled = 0;
    int radius = 0;
    // Set when the rings reached the centre; nothing more is drawn.
    bool stopped = false;
};

// The effect rules, applied by the device context implementation.
class CEffectRules {
public:
    bool greyscale = false;
    bool white = false;
    bool brushLocked = false;
    bool penLocked = false;

    // The grey of a colour: trunc(0.299 r + 0.587 g + 0.114 b + 0.5), opaque.
    static wxColour Grey(const wxColour& colour);
    wxColour Apply(const wxColour& colour) const;
    wxBrush Apply(const wxBrush& brush) const;
    wxPen Apply(const wxPen& pen) const;
};

class CEffectDCImpl : public wxGCDCImpl {
public:
    // Takes ownership of the context.
    CEffectDCImpl(wxDC* owner, wxGraphicsContext* context);

    void SetPen(const wxPen& pen) override;
    void SetBrush(const wxBrush& brush) override;
    void SetTextForeground(const wxColour& colour) override;
    void DoDrawText(const wxString& text, wxCoord x, wxCoord y) override;

    CEffectRules& GetRules() { return m_rules; }
    CCircleText& GetCircle() { return m_circle; }
    const CCircleText& GetCircle() const { return m_circle; }
    const CEffectRules& GetRules() const { return m_rules; }
    // Sets without the lock test (what a lock applies).
    void ForcePen(const wxPen& pen) { wxGCDCImpl::SetPen(m_rules.Apply(pen)); }
    void ForceBrush(const wxBrush& brush) { wxGCDCImpl::SetBrush(m_rules.Apply(brush)); }

private:
    void DrawOnCircle(const wxString& text);

    CEffectRules m_rules;
    CCircleText m_circle;
};

// The effect context over any target; TEffectDC names the target kind.
class CEffectDC : public wxDC, public IEffectDC {
public:
    ~CEffectDC() override;
    CEffectDC(const CEffectDC&) = delete;
    CEffectDC& operator=(const CEffectDC&) = delete;

    bool IsOk() const { return GetGraphicsContext() != nullptr; }
    void SetGreyscale(bool greyscale) { Rules().greyscale = greyscale; }
    bool IsGreyscale() const { return Rules().greyscale; }
    // The filtered forms, for drawing straight through the graphics context.
    wxColour Filter(const wxColour& colour) const { return Rules().Apply(colour); }
    wxBrush Filter(const wxBrush& brush) const { return Rules().Apply(brush); }
    wxPen Filter(const wxPen& pen) const { return Rules().Apply(pen); }
    // Places every text drawn from now on on the circle (radius in pixels).
    void SetCircleMode(wxPoint centre, double startAngle, int radius);
    void EndCircleMode() { Impl().GetCircle().on = false; }
    const CCircleText& GetCircleText() const { return Impl().GetCircle(); }
    // Sends what was drawn to the target.
    void Flush();

    bool IsBrushLocked() const override { return Rules().brushLocked; }
    bool IsPenLocked() const override { return Rules().penLocked; }
    void LockBrush(bool lock, const wxBrush& brush) override;
    wxBrush GetCurrentBrush() const override { return GetBrush(); }
    void LockPen(bool lock, const wxPen& pen) override;
    wxPen GetCurrentPen() const override { return GetPen(); }
    void SetWhiteMode(bool white) override;
    bool IsWhiteMode() const override { return Rules().white; }

protected:
    explicit CEffectDC(wxGraphicsContext* context);

private:
    CEffectDCImpl& Impl() const { return *m_impl; }
    CEffectRules& Rules() { return Impl().GetRules(); }
    const CEffectRules& Rules() const { return Impl().GetRules(); }

    CEffectDCImpl* m_impl;
};

// A graphics context drawing into the target, or null when the target has none.
wxGraphicsContext* CreateContextFor(wxDC& target);

template <class Target>
class TEffectDC : public CEffectDC {
public:
    explicit TEffectDC(Target& target) : CEffectDC(CreateContextFor(target)) {}
};

// Over a graphics context the caller keeps: drawing goes to the same surface.
template <>
class TEffectDC<wxGraphicsContext> : public CEffectDC {
public:
    explicit TEffectDC(wxGraphicsContext& context)
        : CEffectDC(wxGraphicsContext::CreateFromNative(context.GetNativeContext())) {}
};

}  // namespace graphics
