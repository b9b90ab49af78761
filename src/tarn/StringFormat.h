#pragma once
// A type-checked printf: the format is taken in the C notation and the arguments are pushed
// one by one, each checked against the field that waits for it.

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "tarn/Object.h"

namespace tarn {

class CStringFormat : public CObject {
public:
    explicit CStringFormat(std::wstring format);

    CStringFormat& PushInteger(std::int64_t value);
    CStringFormat& PushUnsigned(std::uint64_t value);
    CStringFormat& PushDouble(double value);
    CStringFormat& PushChar(wchar_t value);
    CStringFormat& PushString(std::wstring_view value);

    // The formatted text; raises while a field still waits for an argument.
    std::wstring GetResult() const;

private:
    enum class EClass { None, Integer, Floating, Character, String };
    enum class ELength { None, Char, Short, Long, LongDouble, Size, Max, PtrDiff, Int64 };

    struct Field {
        EClass conversionClass = EClass::None;
        wchar_t conversion = 0;
        std::wstring flags;
        int width = -1;  // -1: none
        bool widthFromArgument = false;
        int precision = -1;  // -1: none
        bool precisionFromArgument = false;
        ELength length = ELength::None;

        bool Has(wchar_t flag) const { return flags.find(flag) != std::wstring::npos; }
    };

    // Copies literal text and parses the next field; leaves m_pending 0 at the end.
    void ParseNextField();
    void ParseFlags();
    int ParseNumber();
    void ParseLength();
    void ParseConversion();
    // Takes a pushed integer as a '*' width or precision; false when none is awaited.
    bool TakeStarArgument(std::int64_t value, bool isInteger);
    void CheckArgument(EClass kind);
    void Append(std::wstring rendered);

    std::wstring RenderInteger(std::uint64_t bits) const;
    std::wstring RenderFloating(double value) const;
    std::wstring RenderText(std::wstring_view text) const;
    std::wstring Pad(std::wstring prefix, std::wstring body, bool zeroPadding) const;

    std::wstring m_format;
    std::size_t m_position = 0;
    std::wstring m_result;
    int m_pending = 0;  // arguments the current field still waits for
    Field m_field;
};

// Pushes each argument by its C++ type: Format(L"%s%08X%s", prefix, number, suffix).
template <class... Args>
std::wstring Format(std::wstring format, const Args&... args) {
    CStringFormat formatter(std::move(format));
    (PushArgument(formatter, args), ...);
    return formatter.GetResult();
}

inline void PushArgument(CStringFormat& f, std::wstring_view value) { f.PushString(value); }
inline void PushArgument(CStringFormat& f, const wchar_t* value) { f.PushString(value); }
inline void PushArgument(CStringFormat& f, const std::wstring& value) { f.PushString(value); }
inline void PushArgument(CStringFormat& f, wchar_t value) { f.PushChar(value); }
inline void PushArgument(CStringFormat& f, double value) { f.PushDouble(value); }
template <class T>
std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, wchar_t> && !std::is_same_v<T, bool>>
PushArgument(CStringFormat& f, T value) {
    if constexpr (std::is_signed_v<T>) {
        f.PushInteger(value);
    } else {
        f.PushUnsigned(value);
    }
}

}  // namespace tarn
