#pragma once
// Content files made at test time: a ZIP archive written with the toolkit's ZIP writer.

#include <wx/xml/xml.h>

#include <map>
#include <memory>
#include <string>

#include "TempFolder.h"

namespace lumtest {

// Writes a ZIP file with the given entries (name -> bytes) and returns its path.
std::wstring WriteArchive(const testsupport::TempFolder& folder, const std::string& fileName,
                          const std::map<std::string, std::string>& entries);

// Parses XML text; the document owns the returned root.
std::unique_ptr<wxXmlDocument> ParseXml(const std::string& text);

// The bytes of a small PNG image of the given size.
std::string PngBytes(int width, int height);

}  // namespace lumtest
