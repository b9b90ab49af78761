#include "lum/data/FormatSchema.h"

#include <algorithm>

#include "graphics/XmlReader.h"
#include "tarn/Exception.h"

namespace lum::data {

namespace {

// Deeper than any schema of ours nests its patterns; a loop of refs outside elements ends here.
constexpr int kMaxPatternDepth = 64;

std::vector<const wxXmlNode*> ChildElements(const wxXmlNode& node) {
    std::vector<const wxXmlNode*> found;
    for (const wxXmlNode* child = node.GetChildren(); child; child = child->GetNext()) {
        if (child->GetType() == wxXML_ELEMENT_NODE) found.push_back(child);
    }
    return found;
}

[[noreturn]] void Unknown(const wxString& what) {
    throw tarn::CError(L"the schema uses " + what.ToStdWstring() + L", which is not read");
}

// The names a name class takes (a <name>, or a <choice> of them); any name leaves it empty.
void ReadNameClass(const wxXmlNode& node, SSchemaElement& into) {
    const wxString tag = node.GetName();
    if (tag == "name") {
        into.names.push_back(node.GetNodeContent().Trim().Trim(false).ToStdWstring());
    } else if (tag == "choice") {
        for (const wxXmlNode* child : ChildElements(node)) ReadNameClass(*child, into);
    } else if (tag == "anyName") {
        for (const wxXmlNode* except : ChildElements(node)) {
            SSchemaElement excepted;
            for (const wxXmlNode* name : ChildElements(*except)) ReadNameClass(*name, excepted);
            into.except.insert(into.except.end(), excepted.names.begin(), excepted.names.end());
        }
    } else {
        Unknown("the name class <" + tag + ">");
    }
}

}  // namespace

bool SSchemaElement::Takes(const std::wstring& name) const {
    if (names.empty()) return std::find(except.begin(), except.end(), name) == except.end();
    return std::find(names.begin(), names.end(), name) != names.end();
}

const SSchemaElement* SSchemaElement::Child(const std::wstring& name) const {
    // A pattern that names the child comes before one of any name.
    for (const SSchemaElement* child : children) {
        if (!child->names.empty() && child->Takes(name)) return child;
    }
    for (const SSchemaElement* child : children) {
        if (child->names.empty() && child->Takes(name)) return child;
    }
    return nullptr;
}

const SSchemaAttribute* SSchemaElement::Attribute(const std::wstring& name) const {
    const auto found = attributes.find(name);
    return found == attributes.end() ? nullptr : &found->second;
}

std::vector<std::wstring> SSchemaElement::ChildNames() const {
    std::vector<std::wstring> result;
    for (const SSchemaElement* child : children) {
        for (const std::wstring& name : child->names) {
            if (std::find(result.begin(), result.end(), name) == result.end()) {
                result.push_back(name);
            }
        }
    }
    return result;
}

bool SSchemaElement::MayRepeat(const SSchemaElement* child) const {
    return std::find(repeatable.begin(), repeatable.end(), child) != repeatable.end();
}

CFormatSchema::CFormatSchema(const std::string& rngText) {
    std::wstring problem;
    if (!graphics::xml::ReadDocument(rngText, m_document, problem)) {
        throw tarn::CError(L"the schema is not well-formed XML (" + problem + L")");
    }
    const wxXmlNode* grammar = m_document.GetRoot();
    if (!grammar || grammar->GetName() != "grammar") Unknown("a root other than <grammar>");
    const wxXmlNode* start = nullptr;
    for (const wxXmlNode* child : ChildElements(*grammar)) {
        if (child->GetName() == "define") {
            m_defines[child->GetAttribute("name")] = child;
        } else if (child->GetName() == "start") {
            start = child;
        } else {
            Unknown("<" + child->GetName() + "> in the grammar");
        }
    }
    const auto top = start ? ChildElements(*start) : std::vector<const wxXmlNode*>{};
    if (top.size() != 1 || top.front()->GetName() != "element") Unknown("a start without one element");
    m_root = ElementOf(*top.front());
}

const SSchemaElement* CFormatSchema::ElementOf(const wxXmlNode& node) {
    if (const auto known = m_byNode.find(&node); known != m_byNode.end()) return known->second;
    auto element = std::make_unique<SSchemaElement>();
    SSchemaElement& made = *element;
    m_elements.push_back(std::move(element));
    m_byNode[&node] = &made;  // before its content, which may lead back to it
    const auto children = ChildElements(node);
    std::size_t content = 0;
    wxString name;
    if (node.GetAttribute("name", &name)) {
        made.names.push_back(name.ToStdWstring());
    } else if (!children.empty()) {
        ReadNameClass(*children.front(), made);  // without a name, the first child says it
        content = 1;
    } else {
        Unknown("an element without a name");
    }
    for (std::size_t i = content; i < children.size(); ++i)
        Collect(*children[i], made, true, false, 0);
    return &made;
}

void CFormatSchema::Collect(const wxXmlNode& pattern, SSchemaElement& into, bool required,
                            bool repeated, int depth) {
    if (depth > kMaxPatternDepth) Unknown("refs that lead round in a circle");
    const wxString tag = pattern.GetName();
    if (tag == "element") {
        const SSchemaElement* child = ElementOf(pattern);
        into.children.push_back(child);
        if (repeated) into.repeatable.push_back(child);
        if (required) into.required.push_back(child);
    } else if (tag == "attribute") {
        CollectAttribute(pattern, into, required);
    } else if (tag == "ref") {
        const auto define = m_defines.find(pattern.GetAttribute("name"));
        if (define == m_defines.end()) Unknown("the undefined ref " + pattern.GetAttribute("name"));
        for (const wxXmlNode* child : ChildElements(*define->second)) {
            Collect(*child, into, required, repeated, depth + 1);
        }
    } else if (tag == "optional" || tag == "choice") {
        for (const wxXmlNode* child : ChildElements(pattern)) {
            Collect(*child, into, false, repeated, depth + 1);
        }
    } else if (tag == "zeroOrMore" || tag == "oneOrMore") {
        for (const wxXmlNode* child : ChildElements(pattern)) {
            Collect(*child, into, required && tag == "oneOrMore", true, depth + 1);
        }
    } else if (tag == "interleave" || tag == "group" || tag == "mixed") {
        for (const wxXmlNode* child : ChildElements(pattern)) {
            Collect(*child, into, required, repeated, depth + 1);
        }
    } else if (tag != "text" && tag != "empty" && tag != "data" && tag != "value") {
        Unknown("the pattern <" + tag + ">");
    }
}

void CFormatSchema::ReadValues(const wxXmlNode& node, std::vector<std::wstring>& values,
                               int depth) const {
    if (depth > kMaxPatternDepth) Unknown("refs that lead round in a circle");
    for (const wxXmlNode* child : ChildElements(node)) {
        if (child->GetName() == "value") {
            values.push_back(child->GetNodeContent().ToStdWstring());
        } else if (child->GetName() == "choice") {
            ReadValues(*child, values, depth + 1);
        } else if (child->GetName() == "ref") {
            const auto define = m_defines.find(child->GetAttribute("name"));
            if (define == m_defines.end())
                Unknown("the undefined ref " + child->GetAttribute("name"));
            ReadValues(*define->second, values, depth + 1);
        }
    }
}

void CFormatSchema::CollectAttribute(const wxXmlNode& node, SSchemaElement& into, bool required) {
    wxString name;
    if (!node.GetAttribute("name", &name)) {
        into.anyAttribute = true;
        return;
    }
    SSchemaAttribute& attribute = into.attributes[name.ToStdWstring()];
    attribute.name = name.ToStdWstring();
    attribute.required = attribute.required || required;
    ReadValues(node, attribute.values, 0);
}

const CFormatSchema& CFormatSchema::Product() {
    static const CFormatSchema schema(ProductText());
    return schema;
}

}  // namespace lum::data
