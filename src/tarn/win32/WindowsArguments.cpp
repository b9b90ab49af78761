#include "tarn/win32/WindowsArguments.h"

namespace tarn::win32 {

std::vector<std::wstring> SplitWindowsArguments(const std::wstring& text) {
    std::vector<std::wstring> arguments;
    std::wstring current;
    bool inArgument = false;  // "" makes an empty argument, so emptiness alone does not tell
    bool quoted = false;
    for (std::size_t i = 0; i < text.size();) {
        const wchar_t c = text[i];
        if (!quoted && (c == L' ' || c == L'\t')) {
            if (inArgument) arguments.push_back(std::move(current));
            current.clear();
            inArgument = false;
            ++i;
            continue;
        }
        inArgument = true;
        if (c == L'\\') {
            std::size_t count = 0;
            while (i < text.size() && text[i] == L'\\') {
                ++count;
                ++i;
            }
            if (i < text.size() && text[i] == L'"') {
                current.append(count / 2, L'\\');
                if (count % 2 == 1) {
                    current += L'"';
                    ++i;
                }
            } else {
                current.append(count, L'\\');
            }
        } else if (c == L'"') {
            if (quoted && i + 1 < text.size() && text[i + 1] == L'"') {
                current += L'"';
                i += 2;
            } else {
                quoted = !quoted;
                ++i;
            }
        } else {
            current += c;
            ++i;
        }
    }
    if (inArgument) arguments.push_back(std::move(current));
    return arguments;
}

}  // namespace tarn::win32
