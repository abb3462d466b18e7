#include "BrowserPage.h"

#include <base/HtmlHelp.h>
#include <base/Mbcs.h>
#include <base/Path.h>
#include <resources/PropIds.h>

#include <commdlg.h>

#include <vector>

namespace prop {
namespace {

constexpr size_t kValueCapacity = 500;
constexpr char kBitmapFilter[] = "bitmap\0*.bmp\0";
constexpr char kHelpTopic[] = "/pdlg_ie1.html";

std::optional<std::string> ReadValue(HKEY key, const char* name) {
    std::vector<char> buffer(kValueCapacity, '\0');
    DWORD type = 0, size = static_cast<DWORD>(buffer.size() - 1);
    if (!key || RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(buffer.data());
}

}  // namespace

void BrowserPage::Load() {
    bitmaps_[0].field = IDC_IE_BACK_BITMAP;
    bitmaps_[1].field = IDC_IE_BRAND_BITMAP;
    // A key the user may only read still shows its values; saving into it then reports why not.
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kToolbarKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) == ERROR_SUCCESS ||
        RegOpenKeyExA(HKEY_CURRENT_USER, kToolbarKey, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS)
        key_.reset(key);
    for (Bitmap& bitmap : bitmaps_) {
        bitmap.stored = ReadValue(key_.get(), bitmap.value);
        bitmap.text = bitmap.stored.value_or("");
        SetText(bitmap.field, bitmap.text);
    }
}

bool BrowserPage::TakeBack() {
    for (Bitmap& bitmap : bitmaps_) bitmap.text = Text(bitmap.field);
    return true;
}

LSTATUS BrowserPage::Write(Bitmap& bitmap) {
    if (!key_) {
        // The browser makes the key only once its toolbar settings change; the first value makes it here.
        HKEY key = nullptr;
        const LSTATUS created = RegCreateKeyExA(HKEY_CURRENT_USER, kToolbarKey, 0, nullptr, 0,
                                                KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr);
        if (created != ERROR_SUCCESS) return created;
        key_.reset(key);
    }
    if (bitmap.text.empty()) {
        const LSTATUS deleted = RegDeleteValueA(key_.get(), bitmap.value);
        return deleted == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : deleted;
    }
    return RegSetValueExA(key_.get(), bitmap.value, 0, REG_SZ, reinterpret_cast<const BYTE*>(bitmap.text.c_str()),
                          static_cast<DWORD>(bitmap.text.size() + 1));
}

bool BrowserPage::Save() {
    // Only what the user changed is written; an emptied field removes its value.
    for (Bitmap& bitmap : bitmaps_) {
        if (bitmap.text == bitmap.stored.value_or("")) continue;
        if (const LSTATUS written = Write(bitmap); written != ERROR_SUCCESS)
            return Unsaved(std::string("HKEY_CURRENT_USER\\") + kToolbarKey, static_cast<DWORD>(written));
        bitmap.stored = bitmap.text.empty() ? std::nullopt : std::optional<std::string>(bitmap.text);
    }
    return true;
}

void BrowserPage::Browse(Bitmap& bitmap) {
    std::vector<char> file(kValueCapacity, '\0');
    mbcs::CopyFitting(Text(bitmap.field), file.data(), file.size());
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = hwnd();
    dialog.lpstrFilter = kBitmapFilter;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
    if (GetOpenFileNameA(&dialog)) SetText(bitmap.field, file.data());
}


INT_PTR BrowserPage::OnCommand(int id, int code) {
    if (code != BN_CLICKED) return FALSE;
    switch (id) {
    case IDC_IE_BACK_BROWSE:
        Browse(bitmaps_[0]);
        return TRUE;
    case IDC_IE_BRAND_BROWSE:
        Browse(bitmaps_[1]);
        return TRUE;
    case IDC_IE_HELP:
        help::ShowTopic(hwnd(), kHelpTopic);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace prop
