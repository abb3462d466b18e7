#include "ErrorText.h"

#include "Format.h"

namespace win {

std::string ErrorText(DWORD code) {
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
        reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = length && buffer ? std::string(buffer, length) : std::string();
    LocalFree(buffer);
    // Trail bytes are never below 0x40, so line ends and blanks are found byte by byte.
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text.empty() ? text::Format("エラー %lu", static_cast<unsigned long>(code)) : text;
}

}  // namespace win
