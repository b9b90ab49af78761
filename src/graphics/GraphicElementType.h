#pragma once
// The closed set of element types, their XML tags and display names.

#include <string>

namespace graphics {

enum GraphicElementType : int {
    GRAPHIC_BASE = 0,
    GRAPHIC_PAPER = 1,
    GRAPHIC_IMAGE = 2,
    GRAPHIC_TEXT = 3,
    GRAPHIC_TEXT_CIRCLE = 4,
    GRAPHIC_TABLE = 5,
    GRAPHIC_LINE = 6,
    GRAPHIC_POINT = 7,
    GRAPHIC_CIRCLE = 8,
    GRAPHIC_RECTANGLE = 9,
    GRAPHIC_SHAPE = 10,
    GRAPHIC_ARROW = 11,
    GRAPHIC_DIMENSION = 12,
    GRAPHIC_CUSTOM = 13,
    GRAPHIC_DUMMY = 14,
    GRAPHIC_STATE_BUTTON = 15,
    GRAPHIC_ANIMATION = 16,
    GRAPHIC_MIRROR = 17,
    GRAPHIC_LABEL = 18,
};

constexpr int kGraphicTypeCount = 19;

// The tag of a type value; raises CWXError outside 0..18.
std::wstring GraphicTypeToXml(int type);
// The type of a tag, compared without case; raises CWXError for an unknown tag.
int GraphicTypeFromXml(const std::wstring& tag);
bool IsGraphicTypeName(const std::wstring& name);
// The localized display name, "Unknown" for types that have none.
std::wstring GraphicTypeDisplayName(int type);

}  // namespace graphics
