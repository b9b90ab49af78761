#pragma once
// The XML value forms shared by every reader and writer. Readers change a value only when
// its attribute or child is present and well formed.

#include <wx/brush.h>
#include <wx/colour.h>
#include <wx/gdicmn.h>
#include <wx/pen.h>
#include <wx/xml/xml.h>

#include <cstdint>
#include <string>

#include "graphics/Geometry.h"

namespace graphics::xml {

// Hears every element and attribute name a reader asks for, found or not, so that tests can
// hold the readers to the format's schema. Set only while nothing reads on other threads.
class INameListener {
public:
    virtual ~INameListener() = default;
    virtual void OnChildAsked(const wxString& parent, const wxString& child) = 0;
    virtual void OnAttributeAsked(const wxString& element, const wxString& attribute) = 0;
};
// Null stops the listening; the listener must outlive its time as listener.
void SetNameListener(INameListener* listener);

// The first child whose name equals name without regard to case, or null.
wxXmlNode* FindChild(const wxXmlNode& node, const wxString& name);
// Appends a new element child.
wxXmlNode* AddChild(wxXmlNode& node, const wxString& name);
// Sets an attribute, replacing one of the same name.
void SetAttribute(wxXmlNode& node, const wxString& name, const wxString& value);
// The attribute's value; false when it is absent.
bool GetAttribute(const wxXmlNode& node, const wxString& name, wxString& value);
// The attribute's value, or the empty text when it is absent.
wxString GetAttribute(const wxXmlNode& node, const wxString& name);

// Doubles always use "." on writing; "," and the locale's separator read as ".".
std::wstring FormatDouble(double value);
bool ParseDouble(const wxString& text, double& value);
bool ParseInteger(const wxString& text, std::int64_t& value);

void WriteDouble(wxXmlNode& node, const wxString& name, double value);
bool ReadDouble(const wxXmlNode& node, const wxString& name, double& value);
void WriteBool(wxXmlNode& node, const wxString& name, bool value);
bool ReadBool(const wxXmlNode& node, const wxString& name, bool& value);
void WriteInt(wxXmlNode& node, const wxString& name, std::int64_t value);
bool ReadInt(const wxXmlNode& node, const wxString& name, std::int32_t& value);
bool ReadInt64(const wxXmlNode& node, const wxString& name, std::int64_t& value);
void WriteString(wxXmlNode& node, const wxString& name, const std::wstring& value);
bool ReadString(const wxXmlNode& node, const wxString& name, std::wstring& value);

void WritePoint(wxXmlNode& node, const wxString& child, CDPoint value);
void ReadPoint(const wxXmlNode& node, const wxString& child, CDPoint& value);
void WriteSize(wxXmlNode& node, const wxString& child, CDSize value);
void ReadSize(const wxXmlNode& node, const wxString& child, CDSize& value);
void WriteRect(wxXmlNode& node, const wxString& child, const CDRect& value);
// False when the child is absent.
bool ReadRect(const wxXmlNode& node, const wxString& child, CDRect& value);
void WriteIntPoint(wxXmlNode& node, const wxString& child, wxPoint value);
void ReadIntPoint(const wxXmlNode& node, const wxString& child, wxPoint& value);
// An unset colour is not written, so it reads back unset.
void WriteColour(wxXmlNode& node, const wxString& child, const wxColour& value);
void ReadColour(const wxXmlNode& node, const wxString& child, wxColour& value);
void WritePen(wxXmlNode& node, const wxString& child, const wxPen& value);
void ReadPen(const wxXmlNode& node, const wxString& child, wxPen& value);
void WriteBrush(wxXmlNode& node, const wxString& child, const wxBrush& value);
void ReadBrush(const wxXmlNode& node, const wxString& child, wxBrush& value);

}  // namespace graphics::xml
