#include "NameCheck.h"

#include <algorithm>
#include <map>

#include "CheckPlace.h"
#include "tarn/Text.h"

namespace lumtool {

namespace {

using lum::data::SSchemaAttribute;
using lum::data::SSchemaElement;

// Names authors reach for that the format spells otherwise.
const std::map<std::wstring, std::wstring> kSynonyms{
    {L"url", L"website"},   {L"href", L"website"}, {L"link", L"website"}, {L"web", L"website"},
    {L"email", L"e-mail"},  {L"mail", L"e-mail"},  {L"mailto", L"e-mail"},
    {L"path", L"file"},     {L"src", L"name"},     {L"colour", L"color"},
    {L"centre", L"center"}, {L"lang", L"language"}, {L"arguments", L"params"},
    {L"args", L"params"}};

// Lists longer than this are not spelled out in a message.
constexpr std::size_t kMaxListed = 16;

// The optimal string alignment distance: edits, with two swapped neighbours as one.
std::size_t Distance(const std::wstring& a, const std::wstring& b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[a.size()][b.size()];
}

// The part after the last "-": "button" of "lum-button".
std::wstring LastWord(const std::wstring& name) {
    const std::size_t dash = name.rfind(L'-');
    return dash == std::wstring::npos ? name : name.substr(dash + 1);
}

std::wstring Listed(const std::vector<std::wstring>& names, const wchar_t* quote = L"") {
    std::wstring text;
    for (const std::wstring& name : names) {
        text += (text.empty() ? L"" : L", ") + std::wstring(quote) + name + quote;
    }
    return text;
}

std::vector<std::wstring> AttributeNames(const SSchemaElement& rule) {
    std::vector<std::wstring> names;
    for (const auto& [name, attribute] : rule.attributes) names.push_back(name);
    return names;
}

std::wstring Tag(const wxString& name) { return L"<" + name.ToStdWstring() + L">"; }

bool IsDocument(const wxXmlNode& node) {
    return node.GetName() == "document" || node.GetName() == "graphic-document";
}

// What each action type needs, and what a click does without it.
struct SActionNeed {
    const wchar_t* type;
    const wchar_t* attribute;
    const wchar_t* what;
    const wchar_t* without;
};
constexpr SActionNeed kActionNeeds[]{
    {L"run-file", L"file", L"the file to run", L"the click does nothing"},
    {L"run-local-file", L"file", L"the file to run", L"the click does nothing"},
    {L"open-folder", L"folder", L"the folder to show", L"the click does nothing"},
    {L"open-local-folder", L"folder", L"the folder to show", L"the click does nothing"},
    {L"open-website", L"website", L"the address", L"the click does nothing"},
    {L"send-mail", L"e-mail", L"the address", L"the click opens an empty mail"},
    {L"change-language", L"language", L"the language, such as de-de", L"the click does nothing"},
};

// What goes wrong without a child that the schema requires, where the player says so.
std::wstring NeedsWhy(const std::wstring& child) {
    if (child == L"clientsize") {
        return L": without it the window has no size (write <clientsize width=\"800\" "
               L"height=\"600\"/>, the page's size in pixels)";
    }
    return {};
}

}  // namespace

std::wstring NearestName(const std::wstring& wanted, const std::vector<std::wstring>& known) {
    const std::wstring lower = tarn::ToLowerAscii(wanted);
    if (const auto synonym = kSynonyms.find(lower); synonym != kSynonyms.end()) {
        if (std::find(known.begin(), known.end(), synonym->second) != known.end()) {
            return synonym->second;
        }
    }
    // Near enough: a letter or two off, fewer for short names.
    const std::size_t allowed = lower.size() <= 4 ? 1 : lower.size() <= 8 ? 2 : 3;
    std::wstring best;
    std::size_t bestDistance = allowed + 1;
    for (const std::wstring& name : known) {
        const std::size_t distance = Distance(lower, tarn::ToLowerAscii(name));
        if (distance < bestDistance) {
            best = name;
            bestDistance = distance;
        }
    }
    if (!best.empty()) return best;
    // "lum-button" means some kind of button.
    const std::wstring word = LastWord(lower);
    if (word.size() < 4) return {};
    for (const std::wstring& name : known) {
        if (LastWord(name) == word) return name;
    }
    return {};
}

void CNameCheck::Run(const wxXmlNode& root) {
    m_path.clear();
    m_path.push_back(&root);
    Visit(root, m_schema.Root());
}

void CNameCheck::Visit(const wxXmlNode& node, const SSchemaElement& rule) {
    VisitAttributes(node, rule);
    if (node.GetName() == "action") CheckAction(node);
    std::vector<const SSchemaElement*> seen;
    for (const wxXmlNode* child = node.GetChildren(); child; child = child->GetNext()) {
        if (child->GetType() != wxXML_ELEMENT_NODE) continue;
        const SSchemaElement* found = rule.Child(child->GetName().ToStdWstring());
        if (found && !rule.MayRepeat(found) &&
            std::find(seen.begin(), seen.end(), found) != seen.end()) {
            m_path.push_back(child);
            Say(ESeverity::Warning, Tag(child->GetName()) + L" comes more than once in " +
                                        Tag(node.GetName()) +
                                        L"; the player reads only the first");
            m_path.pop_back();
            continue;
        }
        if (found) seen.push_back(found);
        VisitChild(node, *child, rule);
    }
    for (const SSchemaElement* needed : rule.required) {
        if (needed->names.empty() || std::find(seen.begin(), seen.end(), needed) != seen.end()) {
            continue;
        }
        Say(ESeverity::Error, Tag(node.GetName()) + L" has no " + Tag(needed->names.front()) +
                                  L", which it needs" + NeedsWhy(needed->names.front()));
    }
}

void CNameCheck::VisitAttributes(const wxXmlNode& node, const SSchemaElement& rule) {
    const std::vector<std::wstring> known = AttributeNames(rule);
    for (const wxXmlAttribute* attribute = node.GetAttributes(); attribute;
         attribute = attribute->GetNext()) {
        const std::wstring name = attribute->GetName().ToStdWstring();
        if (rule.anyAttribute && rule.attributes.empty()) continue;
        if (const SSchemaAttribute* found = rule.Attribute(name)) {
            VisitValue(node, *found, attribute->GetValue());
            continue;
        }
        if (rule.anyAttribute) continue;
        std::wstring text = L"'" + name + L"' is not an attribute of " + Tag(node.GetName()) +
                            L", so the player skips it";
        const std::wstring nearest = NearestName(name, known);
        if (!nearest.empty()) {
            text += L"; did you mean '" + nearest + L"'?";
        } else if (!known.empty() && known.size() <= kMaxListed) {
            text += L"; it takes " + Listed(known, L"'");
        }
        Say(ESeverity::Error, text);
    }
    for (const auto& [name, attribute] : rule.attributes) {
        if (!attribute.required || node.HasAttribute(name)) continue;
        std::wstring text = Tag(node.GetName()) + L" needs a '" + name + L"' attribute";
        if (!attribute.values.empty()) text += L" (" + Listed(attribute.values) + L")";
        Say(ESeverity::Error, text);
    }
}

void CNameCheck::VisitValue(const wxXmlNode& node, const SSchemaAttribute& attribute,
                            const wxString& value) {
    const auto& values = attribute.values;
    const std::wstring text = value.ToStdWstring();
    if (values.empty() || std::find(values.begin(), values.end(), text) != values.end()) return;
    const std::wstring where =
        L"'" + attribute.name + L"' of " + Tag(node.GetName()) + L" is '" + text + L"'";
    for (const std::wstring& known : values) {
        if (tarn::EqualsNoCase(known, text)) {
            Say(ESeverity::Warning, where + L"; write it '" + known +
                                        L"', as not every reader of the player ignores letter case");
            return;
        }
    }
    const bool yesNo = values == std::vector<std::wstring>{L"true", L"false"};
    if (yesNo) {
        Say(ESeverity::Error, where + L", which the player reads as 'false': only 'true' means yes");
        return;
    }
    std::wstring message = where + L", which the player does not know";
    const std::wstring nearest = NearestName(text, values);
    if (!nearest.empty()) message += L"; did you mean '" + nearest + L"'?";
    message += L" (it takes " + Listed(values, L"'") + L")";
    Say(ESeverity::Error, message);
}

void CNameCheck::VisitChild(const wxXmlNode& node, const wxXmlNode& child,
                            const SSchemaElement& rule) {
    const std::wstring name = child.GetName().ToStdWstring();
    m_path.push_back(&child);
    if (const SSchemaElement* found = rule.Child(name)) {
        Visit(child, *found);
        m_path.pop_back();
        return;
    }
    const std::vector<std::wstring> known = rule.ChildNames();
    for (const std::wstring& candidate : known) {
        if (!tarn::EqualsNoCase(candidate, name)) continue;
        Say(ESeverity::Warning, Tag(child.GetName()) + L" is written in other letters than " +
                                    Tag(candidate) +
                                    L"; the player finds only some names in other letter cases");
        Visit(child, *rule.Child(candidate));
        m_path.pop_back();
        return;
    }
    std::wstring text = Tag(child.GetName()) + L" is not an element the player reads in " +
                        Tag(node.GetName()) + L", so it is skipped";
    const std::wstring nearest = NearestName(name, known);
    if (!nearest.empty()) {
        text += L"; did you mean " + Tag(nearest) + L"?";
    } else if (!known.empty() && known.size() <= kMaxListed) {
        std::vector<std::wstring> tags;
        for (const std::wstring& each : known) tags.push_back(Tag(each));
        text += L"; it holds " + Listed(tags);
    }
    Say(ESeverity::Error, text);
    m_path.pop_back();
}

void CNameCheck::CheckAction(const wxXmlNode& action) {
    wxString type;
    if (!action.GetAttribute("type", &type) || type.empty()) {
        Say(ESeverity::Error, L"the action has no 'type', so the click does nothing and its "
                              L"description reads 'Undefined'");
        return;
    }
    for (const SActionNeed& need : kActionNeeds) {
        if (!type.IsSameAs(need.type, false)) continue;
        if (!action.GetAttribute(need.attribute).Trim().Trim(false).empty()) return;
        const std::wstring article = std::wstring(L"aeiou").find(need.type[0]) == std::wstring::npos ? L"a " : L"an ";
        Say(ESeverity::Error, article + need.type + L" action needs '" +
                                  need.attribute + L"' (" + need.what + L"); without it " +
                                  need.without);
        return;
    }
}

std::wstring CNameCheck::Place() const {
    std::wstring page;
    std::size_t pageAt = 0;
    std::size_t elementAt = 0;
    for (std::size_t i = 1; i < m_path.size(); ++i) {
        if (m_path[i]->GetName() == "page" && m_path[i - 1]->GetName() == "pages") {
            page = m_path[i]->GetAttribute("name").ToStdWstring();
            pageAt = i;
        } else if (pageAt && !elementAt && IsDocument(*m_path[i - 1]) &&
                   m_path[i]->GetName() != "content-box" && m_path[i]->GetName() != "xdata") {
            elementAt = i;
        }
    }
    std::size_t from = 1;
    std::wstring place = L"product.xml";
    if (elementAt) {
        std::size_t index = 0;
        for (const wxXmlNode* sibling = m_path[elementAt - 1]->GetChildren();
             sibling && sibling != m_path[elementAt]; sibling = sibling->GetNext()) {
            if (sibling->GetType() == wxXML_ELEMENT_NODE) ++index;
        }
        place = ElementPlace(page, *m_path[elementAt], index);
        from = elementAt + 1;
    } else if (pageAt) {
        place = L"page '" + page + L"'";
        from = pageAt + 1;
    }
    std::wstring way;
    for (std::size_t i = from; i < m_path.size(); ++i) {
        way += (way.empty() ? L"" : L"/") + m_path[i]->GetName().ToStdWstring();
    }
    return way.empty() ? place : place + L", in " + way;
}

void CNameCheck::Say(ESeverity severity, const std::wstring& text) const {
    m_report(severity, Place() + L": " + text);
}

}  // namespace lumtool
