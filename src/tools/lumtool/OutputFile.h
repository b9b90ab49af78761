#pragma once
// Where a command may write its output: never over, or into, what it reads, and through a
// symbolic link only when asked.

#include <wx/stream.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarn::win32 {
class CFileReplacement;
}

namespace lumtool {

// The option that lets an output that is a symbolic link be written through.
inline constexpr const char* kThroughLinkOption = "--through-link";

// Raises CUsageError when output is one of inputs (a file, or the same file under another
// name), lies inside one of them (a folder), or is a link and throughLink is false. Returns
// the file that is to be written: output, or where its link leads.
std::filesystem::path CheckOutput(const std::filesystem::path& output,
                                  const std::vector<std::filesystem::path>& inputs,
                                  bool throughLink);

// Writes the output file's bytes through one safe replacement (see CheckOutput).
void WriteOutput(const std::filesystem::path& output, std::string_view bytes, bool throughLink);

// A toolkit stream over a file replacement, for writers such as the ZIP stream. A failed write
// leaves the stream in error with the system's reason kept.
class CReplacementStream : public wxOutputStream {
public:
    explicit CReplacementStream(tarn::win32::CFileReplacement& file) : m_file(file) {}
    bool IsSeekable() const override { return true; }
    wxFileOffset GetLength() const override { return m_length; }
    // One line naming the file and the reason; empty while all is well.
    const std::string& GetProblem() const { return m_problem; }

protected:
    size_t OnSysWrite(const void* buffer, size_t size) override;
    wxFileOffset OnSysSeek(wxFileOffset position, wxSeekMode mode) override;
    wxFileOffset OnSysTell() const override;

private:
    tarn::win32::CFileReplacement& m_file;
    wxFileOffset m_length = 0;
    std::string m_problem;
};

}  // namespace lumtool
