// The system object's file chores, each failing with its own readable message.

#include <filesystem>
#include <system_error>

#include "tarn/Exception.h"
#include "tarn/Messages.h"
#include "tarn/StringFormat.h"
#include "tarn/StringLocalizer.h"
#include "tarn/Text.h"
#include "tarn/win32/NativeFiles.h"
#include "tarn/win32/System.h"

namespace tarn::win32 {

namespace fs = std::filesystem;

namespace {

fs::path ToPath(const std::wstring& path) { return NativePath(path); }

bool IsMissing(const std::error_code& error) {
    return error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory;
}

std::wstring SystemText(const std::error_code& error) { return FromUtf8(error.message()); }

// A missing file or folder raises the not-found error for the path concerned; anything else
// the operation's message with the system's text for "%MSG%" and "%ERRORDESC%".
[[noreturn]] void RaiseWithText(const std::error_code& error, std::wstring message) {
    message = SetPlaceholder(message, L"MSG", SystemText(error));
    throw CError(SetPlaceholder(message, L"ERRORDESC", SystemText(error)));
}

[[noreturn]] void Raise(const std::error_code& error, const P<CURI>& concerned,
                        std::wstring message) {
    if (IsMissing(error)) throw CFileNotFoundError(concerned);
    RaiseWithText(error, std::move(message));
}

}  // namespace

void CSystem::DeleteFile(const P<CURI>& file) {
    const std::wstring path = URIToPath(file, false);
    // A read-only file goes like any other.
    if (const std::error_code error = RemoveFileName(ToPath(path))) {
        Raise(error, file,
              SetPlaceholder(Localize(messages::kDeleteFileFailed), L"FILE", path));
    }
}

void CSystem::MoveFile(const P<CURI>& source, const P<CURI>& destination) {
    const std::wstring from = URIToPath(source, false);
    const std::wstring to = URIToPath(destination, false);
    std::error_code error;
    fs::rename(ToPath(from), ToPath(to), error);
    if (error == std::errc::cross_device_link) {
        // Another file system: copy, then remove the original.
        fs::copy_file(ToPath(from), ToPath(to), fs::copy_options::overwrite_existing, error);
        if (!error) fs::remove(ToPath(from), error);
    }
    if (error) {
        Raise(error, source,
              SetPlaceholder(SetPlaceholder(Localize(messages::kMoveFileFailed), L"SRC", from),
                             L"DEST", to));
    }
}

void CSystem::MoveFolder(const P<CURI>& source, const P<CURI>& destination) {
    const std::wstring from = URIToPath(source, false);
    const std::wstring to = URIToPath(destination, false);
    std::error_code error;
    fs::rename(ToPath(from), ToPath(to), error);
    if (error) {
        Raise(error, source,
              SetPlaceholder(SetPlaceholder(Localize(messages::kMoveFolderFailed), L"SRC", from),
                             L"DEST", to));
    }
}

void CSystem::CopyFile(const P<CURI>& source, const P<CURI>& destination) {
    const std::wstring from = URIToPath(source, false);
    const std::wstring to = URIToPath(destination, false);
    std::error_code error;
    fs::copy_file(ToPath(from), ToPath(to), fs::copy_options::overwrite_existing, error);
    if (error) {
        Raise(error, source,
              SetPlaceholder(SetPlaceholder(Localize(messages::kCopyFileFailed), L"SRC", from),
                             L"DEST", to));
    }
}

void CSystem::DeleteFolder(const P<CURI>& folder) {
    const std::wstring path = URIToPath(folder, false);
    const std::wstring message =
        SetPlaceholder(Localize(messages::kDeleteFolderFailed), L"FOLDER", path);
    std::error_code error;
    const fs::file_status status = fs::symlink_status(ToPath(path), error);
    if (!fs::exists(status)) Raise(std::make_error_code(std::errc::no_such_file_or_directory), folder, message);
    // A file is there, but it is no folder to delete.
    if (!fs::is_directory(status)) RaiseWithText(std::make_error_code(std::errc::not_a_directory), message);
    fs::remove_all(ToPath(path), error);
    if (error) Raise(error, folder, message);
}

void CSystem::CreateFolder(const P<CURI>& folder) {
    const std::wstring path = URIToPath(folder, false);
    std::error_code error;
    fs::create_directories(ToPath(path), error);
    if (!error && !fs::is_directory(ToPath(path), error)) {
        error = std::make_error_code(std::errc::file_exists);
    }
    if (error) {
        // Missing parents are made, so nothing here is "not found": the folder cannot be made.
        RaiseWithText(error, SetPlaceholder(Localize(messages::kCreateFolderFailed), L"DIR", path));
    }
}

P<CURI> CSystem::CreateUniqueFile(const P<CURI>& folder, const std::wstring& prefix,
                                  const std::wstring& suffix) {
    return CreateUnique(folder, prefix, suffix, false);
}

P<CURI> CSystem::CreateUniqueFolder(const P<CURI>& folder, const std::wstring& prefix,
                                    const std::wstring& suffix) {
    return CreateUnique(folder, prefix, suffix, true);
}

P<CURI> CSystem::CreateUnique(const P<CURI>& folder, const std::wstring& prefix,
                              const std::wstring& suffix, bool asFolder) {
    std::wstring base = URIToPath(folder, false);
    if (!base.empty() && base.back() != L'/' && base.back() != L'\\') base += L'/';
    std::error_code lastError;
    for (int attempt = 0; attempt < kUniqueNameAttempts; ++attempt) {
        std::uint32_t number = 0;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            number = static_cast<std::uint32_t>(m_random());
        }
        const std::wstring name =
            Format(asFolder ? L"%s%08X%s/" : L"%s%08X%s", prefix, number, suffix);
        const fs::path native = ToPath(base + name);
        lastError = asFolder ? CreateNewFolder(native) : CreateNewFile(native);
        if (!lastError) return PathToURI(base + name);
    }
    const CMessage& message =
        asFolder ? messages::kCreateUniqueFolderFailed : messages::kCreateUniqueFileFailed;
    throw CError(SetPlaceholder(Localize(message) + L" %ERRORDESC%", L"ERRORDESC",
                                SystemText(lastError)));
}

}  // namespace tarn::win32
