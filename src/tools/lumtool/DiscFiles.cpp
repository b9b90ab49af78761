#include "DiscFiles.h"

#include <wx/dir.h>
#include <wx/log.h>

#include <algorithm>
#include <optional>

#include "CheckPlace.h"
#include "lum/PathResolver.h"
#include "lum/data/GraphicActionButton.h"
#include "tarn/Text.h"

namespace lumtool {

namespace fs = std::filesystem;

namespace {

using Parts = std::vector<wxString>;

// Longer than a name in any folder of a file system the player reads.
constexpr std::size_t kLongestName = 1024;

fs::path PathOf(const wxString& text) {
    const std::string utf8 = text.utf8_string();
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

wxString TextOf(const fs::path& path) {
    const std::u8string utf8 = path.u8string();
    return wxString::FromUTF8(reinterpret_cast<const char*>(utf8.data()), utf8.size());
}

wxString Slashed(wxString text) {
    text.Replace("\\", "/");
    return text;
}

// "/x", "\x", "\\server\share\x" and "C:\x" lead off the disc on one system or the other.
bool IsAbsoluteName(const wxString& slashed) {
    if (slashed.StartsWith("/")) return true;
    if (slashed.length() >= 2 && slashed[1] == ':') {
        const wxUniChar drive = slashed[0];
        if ((drive >= 'a' && drive <= 'z') || (drive >= 'A' && drive <= 'Z')) return true;
    }
    return wxFileName(slashed).IsAbsolute();
}

Parts Split(const wxString& slashed) {
    Parts parts;
    wxString part;
    for (const wxUniChar c : slashed + "/") {
        if (c != '/') {
            part += c;
            continue;
        }
        if (!part.empty() && part != ".") parts.push_back(part);
        part.clear();
    }
    return parts;
}

// The parts with every ".." taken back; false when one leads above the start.
bool Resolve(const Parts& parts, Parts& resolved) {
    resolved.clear();
    for (const wxString& part : parts) {
        if (part != "..") {
            resolved.push_back(part);
        } else if (resolved.empty()) {
            return false;
        } else {
            resolved.pop_back();
        }
    }
    return true;
}

wxString Join(const Parts& parts, std::size_t from = 0) {
    wxString text;
    for (std::size_t i = from; i < parts.size(); ++i) text += (text.empty() ? "" : "/") + parts[i];
    return text;
}

// The folders of the product's base, as the player joins them below the disc's root.
Parts BaseParts(const wxFileName& base, bool& absolute) {
    absolute = false;
    if (!base.IsOk() || base.GetFullPath().empty()) return {};
    const wxFileName normalised = lum::FromContentName(base);
    const wxString directory = Slashed(normalised.GetPath());
    absolute = normalised.IsAbsolute() || IsAbsoluteName(directory);
    return Split(directory);
}

// How close a missing name and an existing one are, when they are close enough to be a slip of
// the keys; else none.
std::optional<std::size_t> Closeness(const std::wstring& wanted, const std::wstring& candidate) {
    // Names whose lengths differ by more than two slips are never close; and a name longer
    // than any file system holds has no neighbour worth the time.
    const std::size_t longer = std::max(wanted.size(), candidate.size());
    if (longer - std::min(wanted.size(), candidate.size()) > 2 || longer > kLongestName) {
        return std::nullopt;
    }
    const std::size_t distance = TypingDistance(wanted, candidate);
    if (distance > 2 || distance * 3 > wanted.size()) return std::nullopt;
    return distance;
}

}  // namespace

std::vector<SDiscReference> ListDiscReferences(const lum::data::CProduct& product) {
    using lum::data::EActionType;
    std::vector<SDiscReference> references;
    for (std::size_t i = 0; i < product.GetPageCount(); ++i) {
        const auto page = product.GetPage(i);
        const auto document = page->GetDocument();
        if (!document) continue;
        for (std::size_t j = 0; j < document->GetCount(); ++j) {
            const auto element = document->GetAt(j);
            const auto* button =
                dynamic_cast<const lum::data::CGraphicActionButton*>(element.Get());
            if (!button || !button->GetAction()) continue;
            const auto& action = *button->GetAction();
            SDiscReference reference{page, element, j, action.GetType(), {}, EDiscKind::File};
            switch (action.GetType()) {
                case EActionType::RunFile:
                case EActionType::RunLocalFile:
                    reference.name = action.GetFile();
                    break;
                case EActionType::OpenFolder:
                case EActionType::OpenLocalFolder:
                    reference.name = action.GetFolder();
                    reference.kind = EDiscKind::Folder;
                    break;
                default:
                    continue;
            }
            if (!reference.name.empty()) references.push_back(std::move(reference));
        }
    }
    return references;
}

std::optional<SDiscReference> IconReference(const lum::data::CProduct& product) {
    const wxFileName icon = product.GetIconFileName();
    if (!icon.IsOk() || icon.GetFullPath().empty()) return std::nullopt;
    SDiscReference reference;
    reference.name = icon.GetFullPath().ToStdWstring();
    return reference;
}

std::vector<SDiscReference> ListDiscFiles(const lum::data::CProduct& product) {
    std::vector<SDiscReference> references = ListDiscReferences(product);
    if (auto icon = IconReference(product)) references.push_back(std::move(*icon));
    return references;
}

CDiscLookup::CDiscLookup(const fs::path& root, const wxFileName& base) : m_base(base) {
    fs::path absoluteRoot = fs::absolute(root).lexically_normal();
    if (!absoluteRoot.has_filename() && absoluteRoot.has_parent_path() &&
        absoluteRoot != absoluteRoot.root_path()) {
        absoluteRoot = absoluteRoot.parent_path();  // "disc/" is the folder "disc"
    }
    m_root = TextOf(absoluteRoot);
    m_folder = lum::BaseFolder(m_root, base);
}

const std::vector<wxString>& CDiscLookup::Entries(const wxString& folder) {
    const auto known = m_listings.find(folder);
    if (known != m_listings.end()) return known->second;
    std::vector<wxString>& entries = m_listings[folder];
    if (!wxDirExists(folder)) return entries;
    wxDir dir(folder);
    if (!dir.IsOpened()) return entries;
    wxString entry;
    for (bool more = dir.GetFirst(&entry, wxString(), wxDIR_FILES | wxDIR_DIRS | wxDIR_HIDDEN);
         more; more = dir.GetNext(&entry)) {
        entries.push_back(entry);
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

wxString CDiscLookup::RealEntry(const wxString& folder, const wxString& part) {
    const std::vector<wxString>& entries = Entries(folder);
    if (std::binary_search(entries.begin(), entries.end(), part)) return part;
    if (entries.empty()) return {};
    return lum::MatchEntry(folder, part);
}

wxString CDiscLookup::NearestEntry(const wxString& folder, const wxString& part) {
    const std::wstring wanted = part.ToStdWstring();
    wxString best;
    std::size_t bestDistance = 3;
    for (const wxString& entry : Entries(folder)) {
        const auto distance = Closeness(wanted, entry.ToStdWstring());
        if (distance && *distance < bestDistance) {
            best = entry;
            bestDistance = *distance;
        }
    }
    return best;
}

std::wstring CDiscLookup::Suggest(const std::vector<wxString>& below, std::size_t baseParts) {
    wxString current = m_root;
    std::vector<wxString> found;
    bool changed = false;
    for (std::size_t i = 0; i < below.size(); ++i) {
        wxString entry = RealEntry(current, below[i]);
        if (entry.empty()) {
            // A slip in the base is the product's, not the action's: no name would mend it.
            if (i < baseParts) return {};
            entry = NearestEntry(current, below[i]);
            if (entry.empty()) return {};
            changed = true;
        }
        found.push_back(entry);
        current += "/" + entry;
    }
    if (!changed) return {};
    return Join(found, baseParts).ToStdWstring();
}

const SDiscLookup& CDiscLookup::Find(const std::wstring& name, EDiscKind kind) {
    const auto known = m_found.find({name, kind});
    if (known != m_found.end()) return known->second;
    SDiscLookup& result = m_found[{name, kind}];
    const wxLogNull quiet;  // a folder that cannot be listed is simply not there
    result.lookedIn = PathOf(m_folder).lexically_normal();

    const wxString written = Slashed(name);
    bool baseAbsolute = false;
    Parts joined = BaseParts(m_base, baseAbsolute);
    const std::size_t baseCount = joined.size();
    if (IsAbsoluteName(written) || baseAbsolute) {
        result.outcome = EDiscOutcome::Absolute;
        result.absoluteBase = !IsAbsoluteName(written);
        return result;
    }
    const Parts nameParts = Split(written);
    joined.insert(joined.end(), nameParts.begin(), nameParts.end());
    Parts below;
    Parts baseBelow;
    if (!Resolve(joined, below) ||
        !Resolve(Parts(joined.begin(), joined.begin() + baseCount), baseBelow)) {
        result.outcome = EDiscOutcome::LeavesDisc;
        return result;
    }

    // The player's own search decides; the walk below only names what it found.
    const auto found = lum::FindBelow(m_folder, written);
    if (!found) {
        result.outcome = EDiscOutcome::Missing;
        const bool baseKept = std::equal(baseBelow.begin(), baseBelow.end(), below.begin(),
                                         below.begin() + std::min(below.size(), baseBelow.size()));
        // Each guess reads the folders on the way: a menu of thousands of missing names gets
        // guesses for the first of them only.
        if (baseKept && below.size() > baseBelow.size() && m_guesses < kMaxGuesses) {
            ++m_guesses;
            result.suggestion = Suggest(below, baseBelow.size());
        }
        return result;
    }
    result.outcome = EDiscOutcome::Found;
    result.file = PathOf(found->GetFullPath()).lexically_normal();
    Parts real;
    wxString current = m_root;
    for (const wxString& part : below) {
        wxString entry = RealEntry(current, part);
        if (entry.empty()) entry = part;
        real.push_back(entry);
        current += "/" + entry;
    }
    result.relative = Join(real).ToStdWstring();
    result.otherCase = real != below;
    const std::size_t skip = std::min(baseBelow.size(), real.size());
    result.suggestion = Join(real, skip).ToStdWstring();
    std::error_code error;
    const bool folderFound = fs::is_directory(result.file, error);
    result.otherKind = folderFound != (kind == EDiscKind::Folder);
    return result;
}

SDiscLookup LookUpOnDisc(const std::wstring& name, EDiscKind kind, const fs::path& root,
                         const wxFileName& base) {
    return CDiscLookup(root, base).Find(name, kind);
}

std::vector<SDiscProblem> DescribeLookup(const SDiscReference& reference, const SDiscLookup& found,
                                         const fs::path& root) {
    const auto quoted = [](const std::wstring& text) { return L"'" + text + L"'"; };
    const auto pathText = [](const fs::path& path) { return TextOf(path).ToStdWstring(); };
    // Without its icon the window shows the player's own: worth a warning, no more.
    const bool icon = !reference.page;
    const std::wstring start =
        icon ? L"icon-filename: the icon " + quoted(reference.name)
             : ElementPlace(*reference.page, *reference.element, reference.index) + L": " +
                   (reference.kind == EDiscKind::Folder ? L"opens the folder " : L"runs ") +
                   quoted(reference.name);
    const std::wstring lookedIn = L" (looked in " + quoted(pathText(found.lookedIn)) + L")";
    std::vector<SDiscProblem> problems;
    switch (found.outcome) {
        case EDiscOutcome::Missing: {
            std::wstring text = start + L", which is not on the disc" + lookedIn;
            if (!found.suggestion.empty()) {
                text += L"; did you mean " + quoted(found.suggestion) + L"?";
            }
            if (icon) text += L"; the window shows the player's own icon";
            problems.push_back({!icon, text});
            break;
        }
        case EDiscOutcome::LeavesDisc:
            problems.push_back({!icon, start + L", which leads out of the disc (above " +
                                           quoted(pathText(fs::absolute(root).lexically_normal())) +
                                           L"); a medium cannot carry it"});
            break;
        case EDiscOutcome::Absolute:
            problems.push_back(
                {false, start +
                            (found.absoluteBase ? L" below the product's base, an absolute path"
                                                : L", an absolute path") +
                            L": only computers that have it there find it, and lumtool medium "
                            L"does not copy it"});
            break;
        case EDiscOutcome::Found:
            if (found.otherCase) {
                problems.push_back(
                    {false, start + L", which is on the disc only as " + quoted(found.suggestion) +
                                lookedIn +
                                L"; the player finds it all the same, but write it as it is "
                                L"on the disc, since Linux media and ISO images keep letter "
                                L"case"});
            }
            if (found.otherKind) {
                problems.push_back({false, start + (reference.kind == EDiscKind::Folder
                                                        ? L", which is a file on the disc, not "
                                                          L"a folder"
                                                        : L", which is a folder on the disc, not "
                                                          L"a file")});
            }
            break;
    }
    return problems;
}

std::size_t TypingDistance(const std::wstring& a, const std::wstring& b) {
    // The optimal string alignment distance: edits and swaps of neighbours, each counting one.
    const std::size_t n = a.size();
    const std::size_t m = b.size();
    std::vector<std::vector<std::size_t>> d(n + 1, std::vector<std::size_t>(m + 1));
    for (std::size_t i = 0; i <= n; ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= m; ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= n; ++i) {
        for (std::size_t j = 1; j <= m; ++j) {
            const bool same = tarn::ToLower(a[i - 1]) == tarn::ToLower(b[j - 1]);
            d[i][j] =
                std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (same ? 0 : 1)});
            if (i > 1 && j > 1 && tarn::ToLower(a[i - 1]) == tarn::ToLower(b[j - 2]) &&
                tarn::ToLower(a[i - 2]) == tarn::ToLower(b[j - 1])) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[n][m];
}

}  // namespace lumtool
