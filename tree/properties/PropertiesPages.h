// The two pages of the properties sheet (private to tree/properties).
#pragma once

#include <base/Dialog.h>

#include <string>

namespace props {

// "直接編集": the shortcut file's text; OK writes it back when it was changed. A file the editor
// cannot hold exactly (a NUL byte, bytes that are no character of the code page) or could not
// read is shown read-only and never written, so no byte is lost.
class DirectEditPage final : public ui::Dialog {
public:
    explicit DirectEditPage(std::wstring file) : file_(std::move(file)) {}

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Load();
    bool Save();

    std::wstring file_;
    const char* refusal_ = nullptr;  // why the file cannot be edited; null: it can
};

// "URL情報": the exact URL, and the cache entry's local file, hit count, size and header lines.
class UrlInfoPage final : public ui::Dialog {
public:
    UrlInfoPage(std::wstring address, std::string url) : address_(std::move(address)), url_(std::move(url)) {}

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Fill();

    std::wstring address_;  // shown exactly
    std::string url_;       // the cache's key
};

}  // namespace props
