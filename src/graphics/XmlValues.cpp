#include "graphics/XmlValues.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <string>

#include "tarn/Text.h"

namespace graphics::xml {
namespace {

wxString Trimmed(const wxString& text) {
    wxString result = text;
    result.Trim(true).Trim(false);
    return result;
}

bool IsKnownPenStyle(long style) {
    switch (style) {
        case wxPENSTYLE_SOLID:
        case wxPENSTYLE_DOT:
        case wxPENSTYLE_LONG_DASH:
        case wxPENSTYLE_SHORT_DASH:
        case wxPENSTYLE_DOT_DASH:
        case wxPENSTYLE_TRANSPARENT:
        case wxPENSTYLE_BDIAGONAL_HATCH:
        case wxPENSTYLE_CROSSDIAG_HATCH:
        case wxPENSTYLE_FDIAGONAL_HATCH:
        case wxPENSTYLE_CROSS_HATCH:
        case wxPENSTYLE_HORIZONTAL_HATCH:
        case wxPENSTYLE_VERTICAL_HATCH:
            return true;
        default:
            return false;
    }
}

bool IsKnownBrushStyle(long style) {
    switch (style) {
        case wxBRUSHSTYLE_SOLID:
        case wxBRUSHSTYLE_TRANSPARENT:
        case wxBRUSHSTYLE_BDIAGONAL_HATCH:
        case wxBRUSHSTYLE_CROSSDIAG_HATCH:
        case wxBRUSHSTYLE_FDIAGONAL_HATCH:
        case wxBRUSHSTYLE_CROSS_HATCH:
        case wxBRUSHSTYLE_HORIZONTAL_HATCH:
        case wxBRUSHSTYLE_VERTICAL_HATCH:
            return true;
        default:
            return false;
    }
}

INameListener* g_nameListener = nullptr;

}  // namespace

void SetNameListener(INameListener* listener) { g_nameListener = listener; }

wxXmlNode* FindChild(const wxXmlNode& node, const wxString& name) {
    if (g_nameListener) g_nameListener->OnChildAsked(node.GetName(), name);
    for (wxXmlNode* child = node.GetChildren(); child; child = child->GetNext()) {
        if (child->GetType() == wxXML_ELEMENT_NODE && child->GetName().IsSameAs(name, false)) {
            return child;
        }
    }
    return nullptr;
}

wxXmlNode* AddChild(wxXmlNode& node, const wxString& name) {
    auto* child = new wxXmlNode(wxXML_ELEMENT_NODE, name);
    node.AddChild(child);
    return child;
}

void SetAttribute(wxXmlNode& node, const wxString& name, const wxString& value) {
    node.DeleteAttribute(name);
    node.AddAttribute(name, value);
}

bool GetAttribute(const wxXmlNode& node, const wxString& name, wxString& value) {
    if (g_nameListener) g_nameListener->OnAttributeAsked(node.GetName(), name);
    return node.GetAttribute(name, &value);
}

wxString GetAttribute(const wxXmlNode& node, const wxString& name) {
    wxString value;
    GetAttribute(node, name, value);
    return value;
}

std::wstring FormatDouble(double value) {
    if (!std::isfinite(value)) value = 0;
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return tarn::FromUtf8(std::string_view(buffer, result.ptr - buffer));
}

bool ParseDouble(const wxString& text, double& value) {
    wxString normal = Trimmed(text);
    const char* localePoint = std::localeconv()->decimal_point;
    if (localePoint && *localePoint && std::string(localePoint) != ".") {
        normal.Replace(wxString::FromUTF8(localePoint), ".");
    }
    normal.Replace(",", ".");
    if (!normal.empty() && normal[0] == '+') normal.erase(0, 1);
    const std::string utf8 = normal.ToStdString(wxConvUTF8);
    if (utf8.empty()) return false;
    double parsed = 0;
    const auto result = std::from_chars(utf8.data(), utf8.data() + utf8.size(), parsed);
    if (result.ec != std::errc() || result.ptr != utf8.data() + utf8.size()) return false;
    if (!std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

bool ParseInteger(const wxString& text, std::int64_t& value) {
    const std::string utf8 = Trimmed(text).ToStdString(wxConvUTF8);
    std::size_t start = (!utf8.empty() && utf8[0] == '+') ? 1 : 0;
    std::int64_t parsed = 0;
    const auto result = std::from_chars(utf8.data() + start, utf8.data() + utf8.size(), parsed);
    if (utf8.size() == start || result.ec != std::errc() ||
        result.ptr != utf8.data() + utf8.size()) {
        return false;
    }
    value = parsed;
    return true;
}

void WriteDouble(wxXmlNode& node, const wxString& name, double value) {
    SetAttribute(node, name, wxString(FormatDouble(value)));
}

bool ReadDouble(const wxXmlNode& node, const wxString& name, double& value) {
    wxString text;
    return GetAttribute(node, name, text) && !text.empty() && ParseDouble(text, value);
}

void WriteBool(wxXmlNode& node, const wxString& name, bool value) {
    SetAttribute(node, name, value ? "true" : "false");
}

bool ReadBool(const wxXmlNode& node, const wxString& name, bool& value) {
    wxString text;
    if (!GetAttribute(node, name, text)) return false;
    value = text.IsSameAs("true", false);
    return true;
}

void WriteInt(wxXmlNode& node, const wxString& name, std::int64_t value) {
    SetAttribute(node, name, wxString(std::to_string(value)));
}

bool ReadInt(const wxXmlNode& node, const wxString& name, std::int32_t& value) {
    wxString text;
    std::int64_t parsed = 0;
    if (!GetAttribute(node, name, text) || !ParseInteger(text, parsed)) return false;
    if (parsed < INT32_MIN || parsed > INT32_MAX) return false;
    value = static_cast<std::int32_t>(parsed);
    return true;
}

bool ReadInt64(const wxXmlNode& node, const wxString& name, std::int64_t& value) {
    wxString text;
    return GetAttribute(node, name, text) && ParseInteger(text, value);
}

void WriteString(wxXmlNode& node, const wxString& name, const std::wstring& value) {
    SetAttribute(node, name, wxString(value));
}

bool ReadString(const wxXmlNode& node, const wxString& name, std::wstring& value) {
    wxString text;
    if (!GetAttribute(node, name, text)) return false;
    value = text.ToStdWstring();
    return true;
}

void WritePoint(wxXmlNode& node, const wxString& child, CDPoint value) {
    wxXmlNode* element = AddChild(node, child);
    WriteDouble(*element, "x", value.x);
    WriteDouble(*element, "y", value.y);
}

void ReadPoint(const wxXmlNode& node, const wxString& child, CDPoint& value) {
    if (const wxXmlNode* element = FindChild(node, child)) {
        ReadDouble(*element, "x", value.x);
        ReadDouble(*element, "y", value.y);
    }
}

void WriteSize(wxXmlNode& node, const wxString& child, CDSize value) {
    wxXmlNode* element = AddChild(node, child);
    WriteDouble(*element, "width", value.width);
    WriteDouble(*element, "height", value.height);
}

void ReadSize(const wxXmlNode& node, const wxString& child, CDSize& value) {
    if (const wxXmlNode* element = FindChild(node, child)) {
        ReadDouble(*element, "width", value.width);
        ReadDouble(*element, "height", value.height);
    }
}

void WriteRect(wxXmlNode& node, const wxString& child, const CDRect& value) {
    wxXmlNode* element = AddChild(node, child);
    WriteDouble(*element, "x", value.x);
    WriteDouble(*element, "y", value.y);
    WriteDouble(*element, "width", value.width);
    WriteDouble(*element, "height", value.height);
}

bool ReadRect(const wxXmlNode& node, const wxString& child, CDRect& value) {
    const wxXmlNode* element = FindChild(node, child);
    if (!element) return false;
    ReadDouble(*element, "x", value.x);
    ReadDouble(*element, "y", value.y);
    ReadDouble(*element, "width", value.width);
    ReadDouble(*element, "height", value.height);
    return true;
}

void WriteIntPoint(wxXmlNode& node, const wxString& child, wxPoint value) {
    wxXmlNode* element = AddChild(node, child);
    WriteInt(*element, "x", value.x);
    WriteInt(*element, "y", value.y);
}

void ReadIntPoint(const wxXmlNode& node, const wxString& child, wxPoint& value) {
    if (const wxXmlNode* element = FindChild(node, child)) {
        ReadInt(*element, "x", value.x);
        ReadInt(*element, "y", value.y);
    }
}

void WriteColour(wxXmlNode& node, const wxString& child, const wxColour& value) {
    if (!value.IsOk()) return;
    wxXmlNode* element = AddChild(node, child);
    WriteInt(*element, "red", value.Red());
    WriteInt(*element, "green", value.Green());
    WriteInt(*element, "blue", value.Blue());
    WriteInt(*element, "alpha", value.Alpha());
}

void ReadColour(const wxXmlNode& node, const wxString& child, wxColour& value) {
    const wxXmlNode* element = FindChild(node, child);
    if (!element) return;
    std::int32_t parts[4] = {0, 0, 0, wxALPHA_OPAQUE};
    if (value.IsOk()) {
        parts[0] = value.Red(), parts[1] = value.Green(), parts[2] = value.Blue();
        parts[3] = value.Alpha();
    }
    const char* names[4] = {"red", "green", "blue", "alpha"};
    for (int i = 0; i < 4; ++i) {
        ReadInt(*element, names[i], parts[i]);
        parts[i] = std::clamp(parts[i], 0, 255);
    }
    value.Set(static_cast<unsigned char>(parts[0]), static_cast<unsigned char>(parts[1]),
              static_cast<unsigned char>(parts[2]), static_cast<unsigned char>(parts[3]));
}

void WritePen(wxXmlNode& node, const wxString& child, const wxPen& value) {
    wxXmlNode* element = AddChild(node, child);
    if (!value.IsOk()) return;
    WriteColour(*element, "color", value.GetColour());
    WriteInt(*element, "style", value.GetStyle());
    WriteInt(*element, "width", value.GetWidth());
}

void ReadPen(const wxXmlNode& node, const wxString& child, wxPen& value) {
    const wxXmlNode* element = FindChild(node, child);
    if (!element) return;
    wxColour colour = value.IsOk() ? value.GetColour() : *wxBLACK;
    std::int32_t style = value.IsOk() ? value.GetStyle() : wxPENSTYLE_SOLID;
    std::int32_t width = value.IsOk() ? value.GetWidth() : 1;
    ReadColour(*element, "color", colour);
    ReadInt(*element, "style", style);
    ReadInt(*element, "width", width);
    if (!IsKnownPenStyle(style)) style = wxPENSTYLE_SOLID;
    value = wxPen(colour, std::clamp(width, 0, 1000), static_cast<wxPenStyle>(style));
}

void WriteBrush(wxXmlNode& node, const wxString& child, const wxBrush& value) {
    wxXmlNode* element = AddChild(node, child);
    if (!value.IsOk()) return;
    WriteColour(*element, "color", value.GetColour());
    WriteInt(*element, "style", value.GetStyle());
}

void ReadBrush(const wxXmlNode& node, const wxString& child, wxBrush& value) {
    const wxXmlNode* element = FindChild(node, child);
    if (!element) return;
    wxColour colour = value.IsOk() ? value.GetColour() : *wxBLACK;
    std::int32_t style = value.IsOk() ? value.GetStyle() : wxBRUSHSTYLE_SOLID;
    ReadColour(*element, "color", colour);
    ReadInt(*element, "style", style);
    if (!IsKnownBrushStyle(style)) style = wxBRUSHSTYLE_SOLID;
    value = wxBrush(colour, static_cast<wxBrushStyle>(style));
}

}  // namespace graphics::xml
