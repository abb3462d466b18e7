#include "HtmlClipboard.h"

#include <base/Clipboard.h>
#include <base/MessageBox.h>
#include <base/TextEncoding.h>

namespace app {
namespace {

constexpr std::string_view kStartMarker = "<!--StartFragment-->";
constexpr std::string_view kEndMarker = "<!--EndFragment-->";

}  // namespace

std::optional<std::string> HtmlFragment(std::string_view utf8Html) {
    // The markers are ASCII and UTF-8 never repeats an ASCII byte inside a longer sequence, so
    // they are found before conversion and only the fragment is converted.
    const size_t start = utf8Html.find(kStartMarker);
    if (start == std::string_view::npos) return std::nullopt;
    std::string_view fragment = utf8Html.substr(start + kStartMarker.size());
    fragment = fragment.substr(0, fragment.find(kEndMarker));
    return text::Utf8ToAnsi(fragment);
}

void ConvertClipboardHtml(HWND owner) {
    const UINT format = RegisterClipboardFormatA("HTML Format");
    // One byte past the limit is enough to know the data is too large.
    const std::optional<std::string> html = clip::GetText(owner, format, kHtmlClipboardLimit + 1);
    if (!html || html->empty()) return;
    if (html->size() > kHtmlClipboardLimit) {
        ui::ShowMessage(owner, "50KB以上は変換しません。", "", MB_OK);
        return;
    }
    if (const std::optional<std::string> fragment = HtmlFragment(*html)) clip::SetText(owner, *fragment);
}

}  // namespace app
