#include "graphics/GraphicElementType.h"

#include <array>

#include "tarn/StringLocalizer.h"
#include "tarn/Text.h"
#include "wxutil/WXError.h"

namespace graphics {
namespace {

struct TypeInfo {
    const wchar_t* tag;
    const wchar_t* key;  // null: no display name of its own
    const wchar_t* displayName;
};

constexpr std::array<TypeInfo, kGraphicTypeCount> kTypes{{
    {L"base", nullptr, nullptr},
    {L"paper", L"graphics.GraphicElementType.Paper", L"Paper"},
    {L"image", L"graphics.GraphicElementType.Image", L"Image"},
    {L"text", L"graphics.GraphicElementType.Text", L"Text"},
    {L"text-circle", L"graphics.GraphicElementType.TextCircle", L"Circular Text"},
    {L"table", L"graphics.GraphicElementType.Table", L"Table"},
    {L"line", L"graphics.GraphicElementType.Line", L"Line"},
    {L"point", L"graphics.GraphicElementType.Point", L"Point"},
    {L"circle", L"graphics.GraphicElementType.Circle", L"Circle"},
    {L"rectangle", nullptr, nullptr},
    {L"shape", L"graphics.GraphicElementType.Shape", L"Shape"},
    {L"arrow", nullptr, nullptr},
    {L"dimension", L"graphics.GraphicElementType.Dimension", L"Dimension"},
    {L"custom", nullptr, nullptr},
    {L"dummy", nullptr, nullptr},
    {L"state-button", L"graphics.GraphicElementType.StateButton", L"Button"},
    {L"animation", nullptr, nullptr},
    {L"mirror", L"graphics.GraphicElementType.Mirror", L"Mirror"},
    {L"label", nullptr, nullptr},
}};

int FindType(const std::wstring& tag) {
    for (int type = 0; type < kGraphicTypeCount; ++type) {
        if (tarn::EqualsNoCase(tag, kTypes[type].tag)) return type;
    }
    return -1;
}

}  // namespace

std::wstring GraphicTypeToXml(int type) {
    if (type < 0 || type >= kGraphicTypeCount) {
        throw wxutil::CWXError(wxString("GraphicTypeToXml. Unknwown type"));
    }
    return kTypes[type].tag;
}

int GraphicTypeFromXml(const std::wstring& tag) {
    const int type = FindType(tag);
    if (type < 0) {
        throw wxutil::CWXError(wxString(L"GraphicTypeFromXml. Unknwown type:" + tag));
    }
    return type;
}

bool IsGraphicTypeName(const std::wstring& name) { return FindType(name) >= 0; }

std::wstring GraphicTypeDisplayName(int type) {
    if (type < 0 || type >= kGraphicTypeCount || !kTypes[type].key) {
        return L"Unknown";  // has no key of its own
    }
    return tarn::Localize(kTypes[type].key, kTypes[type].displayName);
}

}  // namespace graphics
