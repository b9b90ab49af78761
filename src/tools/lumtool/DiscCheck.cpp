// The check's look at the disc: every file and folder that a run-file or open-folder action
// names, looked up as the player on the medium looks it up.

#include <filesystem>

#include "ContentCheck.h"
#include "DiscFiles.h"
#include "tarn/Text.h"

namespace lumtool {

namespace fs = std::filesystem;

namespace {

fs::path PathOfUtf8(const std::string& text) {
    return fs::path(std::u8string(text.begin(), text.end()));
}

// Whether the content file holds the name itself (or, for a folder, files below it): the
// author packed what belongs beside the content file.
bool IsPacked(const SDiscReference& reference, const std::vector<wxString>& entries) {
    const std::wstring name = graphics::CCatalogue::NormalName(reference.name).ToStdWstring();
    for (const wxString& entry : entries) {
        const std::wstring text = entry.ToStdWstring();
        if (tarn::EqualsNoCase(text, name)) return true;
        if (reference.kind == EDiscKind::Folder && text.size() > name.size() &&
            text[name.size()] == L'/' && tarn::EqualsNoCase(text.substr(0, name.size()), name)) {
            return true;
        }
    }
    return false;
}

}  // namespace

void CContentCheck::CheckDiscFiles(graphics::CContentSource& source) {
    fs::path root = PathOfUtf8(m_discRoot.empty() ? m_path : m_discRoot);
    // A content file lies on the disc; a menu folder stands for the disc itself.
    if (m_discRoot.empty() && !source.IsFolder()) root = fs::absolute(root).parent_path();
    const std::vector<wxString> entries =
        source.IsFolder() ? std::vector<wxString>{} : source.GetCatalogue().GetEntryNames();
    CDiscLookup disc(root, m_product->GetBase());
    for (const SDiscReference& reference : ListDiscFiles(*m_product)) {
        const SDiscLookup& found = disc.Find(reference.name, reference.kind);
        for (SDiscProblem& problem : DescribeLookup(reference, found, root)) {
            if (found.outcome == EDiscOutcome::Missing && IsPacked(reference, entries)) {
                problem.text +=
                    L"; the content file holds it, but the player looks for it on the disc "
                    L"beside the content file";
            }
            Report(problem.error ? ESeverity::Error : ESeverity::Warning, problem.text);
        }
    }
}

}  // namespace lumtool
