#pragma once
// Reads product.xml against the format's schema and names what the player will not read as
// the author meant: elements, attributes and values it does not know (with the nearest known
// name), attributes a schema element needs, and actions without what their type needs.

#include <wx/xml/xml.h>

#include <functional>
#include <string>
#include <vector>

#include "CheckFinding.h"
#include "lum/data/FormatSchema.h"

namespace lumtool {

// The known name nearest to wanted, or empty when none is near enough to be meant.
std::wstring NearestName(const std::wstring& wanted, const std::vector<std::wstring>& known);

class CNameCheck {
public:
    using Report = std::function<void(ESeverity, const std::wstring&)>;

    CNameCheck(const lum::data::CFormatSchema& schema, Report report)
        : m_schema(schema), m_report(std::move(report)) {}

    void Run(const wxXmlNode& root);

private:
    void Visit(const wxXmlNode& node, const lum::data::SSchemaElement& rule);
    void VisitAttributes(const wxXmlNode& node, const lum::data::SSchemaElement& rule);
    void VisitValue(const wxXmlNode& node, const lum::data::SSchemaAttribute& attribute,
                    const wxString& value);
    void VisitChild(const wxXmlNode& node, const wxXmlNode& child,
                    const lum::data::SSchemaElement& rule);
    void CheckAction(const wxXmlNode& action);
    // Where the node is, for the author: the page and element it belongs to, and the way down.
    std::wstring Place() const;
    void Say(ESeverity severity, const std::wstring& text) const;

    const lum::data::CFormatSchema& m_schema;
    Report m_report;
    std::vector<const wxXmlNode*> m_path;  // from the root down to the node visited
};

}  // namespace lumtool
