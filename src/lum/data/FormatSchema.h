#pragma once
// The schema of product.xml (docs/product.rng, built in) read as a tree of the element
// patterns it names: what each element may carry, which attributes it needs and the closed
// lists of values. The check names authors' mistakes with it; the tests hold the readers to it.

#include <wx/xml/xml.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace lum::data {

struct SSchemaAttribute {
    std::wstring name;
    bool required = false;
    std::vector<std::wstring> values;  // the values it takes; empty for any text
};

// One <element> pattern of the schema.
struct SSchemaElement {
    std::vector<std::wstring> names;   // the names it takes; empty for any name
    std::vector<std::wstring> except;  // with an empty names: the names it does not take
    std::map<std::wstring, SSchemaAttribute> attributes;
    bool anyAttribute = false;
    std::vector<const SSchemaElement*> children;
    std::vector<const SSchemaElement*> repeatable;  // the children that may come more than once
    std::vector<const SSchemaElement*> required;    // the children it must have

    bool Takes(const std::wstring& name) const;
    // The child pattern that takes name, or null.
    const SSchemaElement* Child(const std::wstring& name) const;
    const SSchemaAttribute* Attribute(const std::wstring& name) const;
    // The names of its children that are not patterns of any name, in schema order.
    std::vector<std::wstring> ChildNames() const;
    bool MayRepeat(const SSchemaElement* child) const;
};

class CFormatSchema {
public:
    // Raises tarn::CError when the text is not a schema of the forms this reader knows.
    explicit CFormatSchema(const std::string& rngText);
    CFormatSchema(const CFormatSchema&) = delete;
    CFormatSchema& operator=(const CFormatSchema&) = delete;

    // The built-in schema of product.xml.
    static const CFormatSchema& Product();
    static const char* ProductText();

    const SSchemaElement& Root() const { return *m_root; }
    const std::vector<std::unique_ptr<SSchemaElement>>& Elements() const { return m_elements; }

private:
    const SSchemaElement* ElementOf(const wxXmlNode& node);
    // required: the pattern must be there; repeated: it may come more than once.
    void Collect(const wxXmlNode& pattern, SSchemaElement& into, bool required, bool repeated,
                 int depth);
    void CollectAttribute(const wxXmlNode& node, SSchemaElement& into, bool required);
    void ReadValues(const wxXmlNode& node, std::vector<std::wstring>& values, int depth) const;

    wxXmlDocument m_document;
    std::map<wxString, const wxXmlNode*> m_defines;
    std::map<const wxXmlNode*, SSchemaElement*> m_byNode;
    std::vector<std::unique_ptr<SSchemaElement>> m_elements;
    const SSchemaElement* m_root = nullptr;
};

}  // namespace lum::data
