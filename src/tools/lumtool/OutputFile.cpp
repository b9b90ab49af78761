#include "OutputFile.h"

#include <algorithm>
#include <system_error>

#include "Command.h"
#include "tarn/PathText.h"
#include "tarn/win32/FileReplacement.h"

namespace lumtool {

namespace fs = std::filesystem;
using tarn::Utf8Of;

namespace {

std::string Quoted(const fs::path& path) { return "'" + Utf8Of(path) + "'"; }

}  // namespace

fs::path CheckOutput(const fs::path& output, const std::vector<fs::path>& inputs,
                     bool throughLink) {
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(output, error)) && !throughLink) {
        throw CUsageError("the output " + Quoted(output) + " is a symbolic link; give " +
                          kThroughLinkOption + " to write the file it leads to");
    }
    const fs::path written = tarn::win32::FollowLinks(output);
    if (written.empty()) {
        throw CUsageError("the output " + Quoted(output) +
                          " is a link that leads round in a circle");
    }
    for (const fs::path& input : inputs) {
        const fs::path read = tarn::win32::FollowLinks(input);
        if (read.empty()) continue;
        if (written == read || fs::equivalent(written, read, error)) {
            throw CUsageError("the output " + Quoted(output) + " is the input " + Quoted(input) +
                              "; name another file");
        }
        if (fs::is_directory(read, error) && tarn::win32::IsWithin(written, read)) {
            throw CUsageError("the output " + Quoted(output) + " lies inside the menu folder " +
                              Quoted(input) + ", which is read; write it outside");
        }
    }
    return written;
}

void WriteOutput(const fs::path& output, std::string_view bytes, bool throughLink) {
    tarn::win32::ReplaceFileWith(
        output, bytes,
        throughLink ? tarn::win32::ELinks::WriteTarget : tarn::win32::ELinks::Refuse);
}

size_t CReplacementStream::OnSysWrite(const void* buffer, size_t size) {
    if (!m_problem.empty()) return 0;
    try {
        m_file.Write(buffer, size);
    } catch (const tarn::win32::CFileWriteError& error) {
        m_problem = error.what();
        m_lasterror = wxSTREAM_WRITE_ERROR;
        return 0;
    }
    m_length = std::max<wxFileOffset>(m_length, static_cast<wxFileOffset>(m_file.Tell()));
    return size;
}

wxFileOffset CReplacementStream::OnSysSeek(wxFileOffset position, wxSeekMode mode) {
    const wxFileOffset base = mode == wxFromCurrent ? OnSysTell()
                              : mode == wxFromEnd   ? m_length
                                                    : 0;
    const wxFileOffset to = base + position;
    if (to < 0 || !m_problem.empty()) return wxInvalidOffset;
    try {
        m_file.Seek(static_cast<std::uint64_t>(to));
    } catch (const tarn::win32::CFileWriteError& error) {
        m_problem = error.what();
        return wxInvalidOffset;
    }
    return to;
}

wxFileOffset CReplacementStream::OnSysTell() const {
    return static_cast<wxFileOffset>(m_file.Tell());
}

}  // namespace lumtool
