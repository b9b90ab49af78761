#include "tarn/StringFormat.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "tarn/Exception.h"

namespace tarn {

namespace {

constexpr std::size_t kMaxFlags = 5;
// Widths and precisions beyond this are refused: printf would take up to INT_MAX, and a
// gigabyte of padding helps nobody.
constexpr std::int64_t kMaxFieldSize = 65536;
constexpr std::wstring_view kFlagChars = L"-+0 #";

const wchar_t* const kTooManyFlags = L"CStringFormat: too many field flags specified.";
const wchar_t* const kInvalidFormat = L"CStringFormat: invalid format string.";
const wchar_t* const kExpectedWidth = L"CStringFormat: expected integer value (field width).";
const wchar_t* const kExpectedPrecision =
    L"CStringFormat: expected integer value (field precision).";
const wchar_t* const kMismatch =
    L"CStringFormat: argument does not match the field's format specification.";
const wchar_t* const kNoFieldLeft = L"CStringFormat: all parameters have already been pushed.";
const wchar_t* const kNotAllPushed = L"CStringFormat: not all parameters have been pushed in yet.";
const wchar_t* const kFieldTooLarge =
    L"CStringFormat: field width or precision too large (more than 65536).";

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

std::wstring Widen(std::string_view text) { return std::wstring(text.begin(), text.end()); }

// Correctly rounded digits of a finite, non-negative value, as printf writes them.
std::string ToChars(double value, std::chars_format format, int precision) {
    std::vector<char> buffer(static_cast<std::size_t>(precision) + 400);
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, precision);
    return std::string(buffer.data(), result.ptr);
}

// The "#" flag always shows a decimal point, even with no digits after it.
void EnsureDecimalPoint(std::string& digits) {
    if (digits.find('.') != std::string::npos) return;
    const std::size_t exponent = digits.find('e');
    digits.insert(exponent == std::string::npos ? digits.size() : exponent, 1, '.');
}

// %g with the "#" flag: the style %g would choose, with trailing zeros kept.
std::string GeneralKeepingZeros(double value, int significant) {
    const std::string scientific = ToChars(value, std::chars_format::scientific, significant - 1);
    const int exponent = std::atoi(scientific.c_str() + scientific.find('e') + 1);
    std::string digits =
        (significant > exponent && exponent >= -4)
            ? ToChars(value, std::chars_format::fixed, significant - 1 - exponent)
            : scientific;
    EnsureDecimalPoint(digits);
    return digits;
}

std::wstring Digits(std::uint64_t magnitude, unsigned base, bool upper) {
    const char* const symbols = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::wstring out;
    while (magnitude != 0) {
        out.insert(out.begin(), static_cast<wchar_t>(symbols[magnitude % base]));
        magnitude /= base;
    }
    return out;
}

}  // namespace

CStringFormat::CStringFormat(std::wstring format) : m_format(std::move(format)) {
    ParseNextField();
}

void CStringFormat::ParseNextField() {
    m_field = Field{};
    m_pending = 0;
    while (m_position < m_format.size()) {
        const wchar_t c = m_format[m_position++];
        if (c != L'%') {
            m_result += c;
            continue;
        }
        if (m_position < m_format.size() && m_format[m_position] == L'%') {
            m_result += L'%';
            ++m_position;
            continue;
        }
        ParseFlags();
        if (m_position < m_format.size() && m_format[m_position] == L'*') {
            m_field.widthFromArgument = true;
            ++m_position;
            ++m_pending;
        } else {
            m_field.width = ParseNumber();
        }
        if (m_position < m_format.size() && m_format[m_position] == L'.') {
            ++m_position;
            if (m_position < m_format.size() && m_format[m_position] == L'*') {
                m_field.precisionFromArgument = true;
                ++m_position;
                ++m_pending;
            } else {
                m_field.precision = std::max(ParseNumber(), 0);
            }
        }
        ParseLength();
        ParseConversion();
        ++m_pending;
        return;
    }
}

void CStringFormat::ParseFlags() {
    while (m_position < m_format.size() &&
           kFlagChars.find(m_format[m_position]) != std::wstring_view::npos) {
        if (m_field.flags.size() == kMaxFlags) throw CInvalidArgError(L"", kTooManyFlags, this);
        m_field.flags += m_format[m_position++];
    }
}

// Decimal digits at the current position; -1 when there are none.
int CStringFormat::ParseNumber() {
    if (m_position >= m_format.size() || !IsDigit(m_format[m_position])) return -1;
    long long number = 0;
    while (m_position < m_format.size() && IsDigit(m_format[m_position])) {
        number = number * 10 + (m_format[m_position++] - L'0');
        if (number > kMaxFieldSize) throw CInvalidArgError(L"", kFieldTooLarge, this);
    }
    return static_cast<int>(number);
}

void CStringFormat::ParseLength() {
    const std::wstring_view rest = std::wstring_view(m_format).substr(m_position);
    struct Modifier {
        std::wstring_view text;
        ELength length;
    };
    // Longer spellings first, so that "hh" is not read as "h".
    static constexpr Modifier kModifiers[] = {
        {L"I64", ELength::Int64}, {L"hh", ELength::Char},    {L"ll", ELength::Int64},
        {L"h", ELength::Short},   {L"l", ELength::Long},     {L"L", ELength::LongDouble},
        {L"z", ELength::Size},    {L"j", ELength::Max},      {L"t", ELength::PtrDiff},
    };
    for (const Modifier& modifier : kModifiers) {
        if (rest.substr(0, modifier.text.size()) == modifier.text) {
            m_field.length = modifier.length;
            m_position += modifier.text.size();
            return;
        }
    }
}

void CStringFormat::ParseConversion() {
    if (m_position >= m_format.size()) throw CInvalidArgError(L"", kInvalidFormat, this);
    const wchar_t c = m_format[m_position++];
    m_field.conversion = c;
    if (std::wstring_view(L"cC").find(c) != std::wstring_view::npos) {
        m_field.conversionClass = EClass::Character;
    } else if (std::wstring_view(L"diouxX").find(c) != std::wstring_view::npos) {
        m_field.conversionClass = EClass::Integer;
    } else if (std::wstring_view(L"eEfgG").find(c) != std::wstring_view::npos) {
        m_field.conversionClass = EClass::Floating;
    } else if (std::wstring_view(L"sS").find(c) != std::wstring_view::npos) {
        m_field.conversionClass = EClass::String;
    } else {
        throw CInvalidArgError(L"", kInvalidFormat, this);
    }
}

bool CStringFormat::TakeStarArgument(std::int64_t value, bool isInteger) {
    if (m_field.widthFromArgument) {
        if (!isInteger) throw CInvalidArgError(L"", kExpectedWidth, this);
        // Compared before negating: the most negative value has no positive counterpart.
        if (value < -kMaxFieldSize || value > kMaxFieldSize) {
            throw CInvalidArgError(L"", kFieldTooLarge, this);
        }
        m_field.widthFromArgument = false;
        // A negative width means left justification, as in printf.
        if (value < 0) m_field.flags += L'-';
        m_field.width = static_cast<int>(value < 0 ? -value : value);
    } else if (m_field.precisionFromArgument) {
        if (!isInteger) throw CInvalidArgError(L"", kExpectedPrecision, this);
        if (value > kMaxFieldSize) throw CInvalidArgError(L"", kFieldTooLarge, this);
        m_field.precisionFromArgument = false;
        // A negative precision counts as none.
        m_field.precision = value < 0 ? -1 : static_cast<int>(value);
    } else {
        return false;
    }
    --m_pending;
    return true;
}

void CStringFormat::CheckArgument(EClass kind) {
    if (m_pending == 0) throw CInvalidObjectStateError(kNoFieldLeft, this);
    if (m_field.widthFromArgument) throw CInvalidArgError(L"", kExpectedWidth, this);
    if (m_field.precisionFromArgument) throw CInvalidArgError(L"", kExpectedPrecision, this);
    if (kind != m_field.conversionClass) throw CInvalidArgError(L"", kMismatch, this);
}

void CStringFormat::Append(std::wstring rendered) {
    m_result += rendered;
    ParseNextField();
}

CStringFormat& CStringFormat::PushInteger(std::int64_t value) {
    if (m_pending > 0 && TakeStarArgument(value, true)) return *this;
    CheckArgument(EClass::Integer);
    Append(RenderInteger(static_cast<std::uint64_t>(value)));
    return *this;
}

CStringFormat& CStringFormat::PushUnsigned(std::uint64_t value) {
    if (m_pending > 0 && (m_field.widthFromArgument || m_field.precisionFromArgument)) {
        // Anything above the largest field size is refused all the same.
        const auto clamped = static_cast<std::int64_t>(
            std::min<std::uint64_t>(value, static_cast<std::uint64_t>(kMaxFieldSize) + 1));
        TakeStarArgument(clamped, true);
        return *this;
    }
    CheckArgument(EClass::Integer);
    Append(RenderInteger(value));
    return *this;
}

CStringFormat& CStringFormat::PushDouble(double value) {
    if (m_pending > 0 && TakeStarArgument(0, false)) return *this;
    CheckArgument(EClass::Floating);
    Append(RenderFloating(value));
    return *this;
}

CStringFormat& CStringFormat::PushChar(wchar_t value) {
    if (m_pending > 0 && TakeStarArgument(0, false)) return *this;
    CheckArgument(EClass::Character);
    m_field.precision = -1;  // a precision means nothing to a character
    Append(RenderText(std::wstring(1, value)));
    return *this;
}

CStringFormat& CStringFormat::PushString(std::wstring_view value) {
    if (m_pending > 0 && TakeStarArgument(0, false)) return *this;
    CheckArgument(EClass::String);
    Append(RenderText(value));
    return *this;
}

std::wstring CStringFormat::GetResult() const {
    if (m_pending > 0) throw CInvalidObjectStateError(kNotAllPushed, this);
    return m_result;
}

std::wstring CStringFormat::Pad(std::wstring prefix, std::wstring body, bool zeroPadding) const {
    const std::size_t length = prefix.size() + body.size();
    const std::size_t width = m_field.width < 0 ? 0 : static_cast<std::size_t>(m_field.width);
    if (width <= length) return prefix + body;
    const std::size_t fill = width - length;
    if (m_field.Has(L'-')) return prefix + body + std::wstring(fill, L' ');
    if (zeroPadding) return prefix + std::wstring(fill, L'0') + body;
    return std::wstring(fill, L' ') + prefix + body;
}

std::wstring CStringFormat::RenderInteger(std::uint64_t bits) const {
    // The argument is taken as the C type its length modifier names.
    unsigned width = 32;
    switch (m_field.length) {
        case ELength::Char: width = 8; break;
        case ELength::Short: width = 16; break;
        case ELength::None: width = 32; break;
        default: width = 64; break;
    }
    const std::uint64_t mask = width == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << width) - 1;
    bits &= mask;

    const wchar_t conversion = m_field.conversion;
    const bool isSigned = conversion == L'd' || conversion == L'i';
    bool negative = false;
    std::uint64_t magnitude = bits;
    if (isSigned && width < 64 && (bits >> (width - 1)) != 0) {
        negative = true;
        magnitude = (~bits + 1) & mask;
    } else if (isSigned && width == 64 && (bits >> 63) != 0) {
        negative = true;
        magnitude = ~bits + 1;
    }

    const unsigned base = conversion == L'o' ? 8 : (conversion == L'x' || conversion == L'X') ? 16 : 10;
    std::wstring digits = Digits(magnitude, base, conversion == L'X');
    if (magnitude == 0 && m_field.precision != 0) digits = L"0";
    if (m_field.precision > 0 && digits.size() < static_cast<std::size_t>(m_field.precision)) {
        digits.insert(0, static_cast<std::size_t>(m_field.precision) - digits.size(), L'0');
    }

    std::wstring prefix;
    if (isSigned) {
        if (negative) prefix = L"-";
        else if (m_field.Has(L'+')) prefix = L"+";
        else if (m_field.Has(L' ')) prefix = L" ";
    } else if (m_field.Has(L'#')) {
        if (base == 8 && (digits.empty() || digits[0] != L'0')) digits.insert(0, 1, L'0');
        if (base == 16 && magnitude != 0) prefix = conversion == L'X' ? L"0X" : L"0x";
    }
    const bool zeroPadding = m_field.Has(L'0') && !m_field.Has(L'-') && m_field.precision < 0;
    return Pad(prefix, digits, zeroPadding);
}

std::wstring CStringFormat::RenderFloating(double value) const {
    const wchar_t conversion = m_field.conversion;
    const bool upper = conversion == L'E' || conversion == L'G';
    std::wstring sign;
    if (std::signbit(value)) sign = L"-";
    else if (m_field.Has(L'+')) sign = L"+";
    else if (m_field.Has(L' ')) sign = L" ";

    if (!std::isfinite(value)) {
        const wchar_t* text = std::isnan(value) ? (upper ? L"NAN" : L"nan") : (upper ? L"INF" : L"inf");
        return Pad(sign, text, false);
    }

    const double magnitude = std::fabs(value);
    const int precision = m_field.precision < 0 ? 6 : m_field.precision;
    const bool alternate = m_field.Has(L'#');
    std::string digits;
    if (conversion == L'f') {
        digits = ToChars(magnitude, std::chars_format::fixed, precision);
        if (alternate) EnsureDecimalPoint(digits);
    } else if (conversion == L'e' || conversion == L'E') {
        digits = ToChars(magnitude, std::chars_format::scientific, precision);
        if (alternate) EnsureDecimalPoint(digits);
    } else {
        const int significant = precision == 0 ? 1 : precision;
        digits = alternate ? GeneralKeepingZeros(magnitude, significant)
                           : ToChars(magnitude, std::chars_format::general, significant);
    }
    std::wstring body = Widen(digits);
    if (upper) {
        for (wchar_t& c : body) {
            if (c == L'e') c = L'E';
        }
    }
    return Pad(sign, body, m_field.Has(L'0') && !m_field.Has(L'-'));
}

std::wstring CStringFormat::RenderText(std::wstring_view text) const {
    if (m_field.precision >= 0 && text.size() > static_cast<std::size_t>(m_field.precision)) {
        text = text.substr(0, static_cast<std::size_t>(m_field.precision));
    }
    return Pad(L"", std::wstring(text), false);
}

}  // namespace tarn
