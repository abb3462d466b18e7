// Pictures of windows for tests that look at pixels or keep a screenshot: capture, BMP files.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace testutil {

// Pixels as 0x00RRGGBB, row by row from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    Picture Rows(int top, int count) const {
        Picture part{width, count, {}};
        part.pixels.assign(pixels.begin() + static_cast<ptrdiff_t>(top) * width,
                           pixels.begin() + static_cast<ptrdiff_t>(top + count) * width);
        return part;
    }
};

// What `window` shows in `area` (screen coordinates). Read from the window's own DC: Wine's screen
// DC gives white where a menu is (a Wine gap; on Windows either DC shows the menu).
Picture Capture(HWND window, const RECT& area);
// The whole window, frame included.
Picture CaptureWindow(HWND window);

// 24-bit bottom-up BMP files.
bool WriteBmp(const std::string& file, const Picture& picture);
std::optional<Picture> ReadBmp(const std::string& file);

}  // namespace testutil
