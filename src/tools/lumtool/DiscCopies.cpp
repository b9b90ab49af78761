#include "DiscCopies.h"

#include <map>
#include <system_error>

#include "Command.h"
#include "DiscFiles.h"
#include "graphics/ContentFolder.h"
#include "tarn/PathText.h"
#include "tarn/Text.h"
#include "tarn/win32/FileReplacement.h"

namespace lumtool {

namespace fs = std::filesystem;
using tarn::Utf8Of;

namespace {

// The names at a medium's root that lumtool medium writes itself.
void CheckNotTheMediumsOwn(const std::string& relative) {
    static const char* const kOwn[] = {"content.lum",  "lumplayer",     "autorun.sh",
                                       kPrivateFolder, "lumplayer.exe", "autorun.inf"};
    const std::string first = relative.substr(0, relative.find('/'));
    // Compared as Windows and ISO 9660 readers compare them: without letter case.
    const std::wstring name = tarn::FromUtf8(first);
    for (const char* own : kOwn) {
        if (tarn::EqualsNoCase(name, tarn::FromUtf8(own))) {
            throw CUsageError("an action names '" + relative +
                              "', which would take the place of the medium's own '" + own +
                              "'; name it otherwise");
        }
    }
    if (first.rfind(kMediumStagingPrefix, 0) == 0) {
        throw CUsageError("an action names '" + relative +
                          "', which is named like the staging folders of lumtool medium; name "
                          "it otherwise");
    }
}

// Collects a plan's copies by their paths on the medium, so that a file that two actions name
// (or that lies in a folder another one names) is copied once.
class CPlanner {
public:
    CPlanner(const fs::path& discRoot, const fs::path& mediumRoot, SDiscPlan& plan) : m_plan(plan) {
        std::error_code error;
        m_root = fs::canonical(discRoot, error);
        if (error) {
            throw CUsageError("cannot read the disc's folder '" + discRoot.string() +
                              "': " + error.message());
        }
        m_medium = fs::weakly_canonical(fs::absolute(mediumRoot), error);
    }

    void Add(const SDiscLookup& found) {
        const std::string relative = tarn::ToUtf8(found.relative);
        CheckNotTheMediumsOwn(relative);
        const fs::path source = graphics::ResolveBelow(m_root, found.file);
        if (source.empty()) {
            m_outside.push_back(relative);
            return;
        }
        std::error_code error;
        if (fs::is_directory(source, error)) {
            AddFolder(source, relative);
        } else {
            AddFile(source, relative);
        }
    }

    // Raises CUsageError naming every file whose link leads out of the disc's folder.
    void Finish() {
        if (!m_outside.empty()) {
            std::string names;
            for (const std::string& name : m_outside) {
                names += (names.empty() ? "'" : ", '") + name + "'";
            }
            throw CUsageError("links lead out of the disc's folder '" + Utf8Of(m_root) +
                              "': " + names + "; a medium takes only what lies on the disc");
        }
        for (auto& [relative, copy] : m_copies) {
            if (!copy.folder) m_plan.copiedNames.push_back(relative);
            m_plan.copies.push_back(std::move(copy));
        }
    }

private:
    // Already where it is to go: the content file's own folder is the medium.
    bool IsInPlace(const fs::path& source, const std::string& relative) const {
        std::error_code error;
        return fs::equivalent(
            source, m_medium / fs::path(std::u8string(relative.begin(), relative.end())), error);
    }

    void AddFile(const fs::path& source, const std::string& relative) {
        if (IsInPlace(source, relative)) return;
        // A FIFO or a device would block the copy or pour out without end.
        std::error_code error;
        if (!fs::is_regular_file(source, error)) {
            m_plan.notes.push_back("'" + relative + "' is not a regular file; not copied");
            return;
        }
        m_copies.insert({relative, SDiscCopy{source, relative, false}});
    }

    void AddFolder(const fs::path& source, const std::string& relative) {
        if (IsInPlace(source, relative)) return;
        if (tarn::win32::IsWithin(m_medium, source)) {
            throw CUsageError("an action opens the folder '" + relative +
                              "', which holds the medium '" + Utf8Of(m_medium) +
                              "' itself; write the medium elsewhere");
        }
        m_copies.insert({relative, SDiscCopy{source, relative, true}});
        std::vector<graphics::SLeftOut> leftOut;
        std::vector<graphics::SContentFile> files;
        try {
            files = graphics::ListContentFiles(source, &leftOut);
        } catch (const graphics::CListingError& error) {
            throw CUsageError(error.what());
        }
        for (const graphics::SContentFile& file : files) {
            if (tarn::win32::IsTemporaryName(Utf8Of(file.path.filename()))) continue;
            const std::string inner = relative + "/" + file.relative;
            // The listing judges links against the folder; the disc is the wider bound.
            const fs::path resolved = graphics::ResolveBelow(m_root, file.path);
            if (resolved.empty()) {
                m_outside.push_back(inner);
                continue;
            }
            m_copies.insert({inner, SDiscCopy{resolved, inner, false}});
        }
        for (const graphics::SLeftOut& left : leftOut) {
            m_plan.notes.push_back("'" + relative + "/" + left.relative + "' " + left.reason +
                                   "; not copied");
        }
    }

    SDiscPlan& m_plan;
    fs::path m_root;
    fs::path m_medium;
    std::map<std::string, SDiscCopy> m_copies;  // in path order: a folder before what it holds
    std::vector<std::string> m_outside;
};

}  // namespace

SDiscPlan PlanDiscCopies(const lum::data::CProduct& product, const fs::path& discRoot,
                         const fs::path& mediumRoot) {
    SDiscPlan plan;
    CPlanner planner(discRoot, mediumRoot, plan);
    CDiscLookup disc(discRoot, product.GetBase());
    for (const SDiscReference& reference : ListDiscFiles(product)) {
        const SDiscLookup& found = disc.Find(reference.name, reference.kind);
        switch (found.outcome) {
            case EDiscOutcome::Found:
                if (!found.relative.empty()) planner.Add(found);  // the root is the medium
                break;
            case EDiscOutcome::Missing:
            case EDiscOutcome::LeavesDisc:
            case EDiscOutcome::Absolute:
                for (const SDiscProblem& problem : DescribeLookup(reference, found, discRoot)) {
                    (problem.error ? plan.missing : plan.notes)
                        .push_back(tarn::ToUtf8(problem.text));
                }
                break;
        }
    }
    planner.Finish();
    return plan;
}

}  // namespace lumtool
