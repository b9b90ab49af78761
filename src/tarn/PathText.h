#pragma once
// A path's name as text, for messages and for the toolkit's UTF-8 names.

#include <filesystem>
#include <string>

namespace tarn {

std::string Utf8Of(const std::filesystem::path& path);

}  // namespace tarn
