#include "Picture.h"

#include "TestSupport.h"

#include <base/Handles.h>

#include <cstring>

namespace testutil {

Picture Capture(HWND window, const RECT& area) {
    RECT frame{};
    GetWindowRect(window, &frame);
    Picture picture{area.right - area.left, area.bottom - area.top, {}};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), picture.width, -picture.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetWindowDC(window);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    const win::UniqueBitmap bitmap(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap && memory) {
        HGDIOBJ old = SelectObject(memory, bitmap.get());
        BitBlt(memory, 0, 0, picture.width, picture.height, screen, area.left - frame.left, area.top - frame.top, SRCCOPY);
        GdiFlush();
        const auto* words = static_cast<const uint32_t*>(bits);
        for (size_t i = 0; i < size_t(picture.width) * picture.height; ++i) picture.pixels.push_back(words[i] & 0xFFFFFF);
        SelectObject(memory, old);
    }
    if (memory) DeleteDC(memory);
    ReleaseDC(window, screen);
    return picture;
}

bool WriteBmp(const std::string& file, const Picture& picture) {
    const int stride = (picture.width * 3 + 3) & ~3;
    BITMAPFILEHEADER head{};
    BITMAPINFOHEADER info{sizeof info, picture.width, picture.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    head.bfType = 0x4D42;
    head.bfOffBits = sizeof head + sizeof info;
    head.bfSize = head.bfOffBits + DWORD(stride) * picture.height;
    std::string bytes(reinterpret_cast<const char*>(&head), sizeof head);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    for (int y = picture.height - 1; y >= 0; --y) {
        std::string row(stride, '\0');
        for (int x = 0; x < picture.width; ++x) std::memcpy(&row[x * 3], &picture.pixels[size_t(y) * picture.width + x], 3);
        bytes += row;
    }
    return WriteBytes(file, bytes);
}

std::optional<Picture> ReadBmp(const std::string& file) {
    const std::string bytes = ReadBytes(file);
    BITMAPFILEHEADER head{};
    BITMAPINFOHEADER info{};
    if (bytes.size() < sizeof head + sizeof info) return std::nullopt;
    std::memcpy(&head, bytes.data(), sizeof head);
    std::memcpy(&info, bytes.data() + sizeof head, sizeof info);
    const int stride = (info.biWidth * 3 + 3) & ~3;
    if (head.bfType != 0x4D42 || info.biBitCount != 24 || info.biHeight <= 0 ||
        bytes.size() < head.bfOffBits + size_t(stride) * info.biHeight)
        return std::nullopt;
    Picture picture{info.biWidth, info.biHeight, std::vector<uint32_t>(size_t(info.biWidth) * info.biHeight)};
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            std::memcpy(&picture.pixels[size_t(y) * picture.width + x],
                        &bytes[head.bfOffBits + size_t(picture.height - 1 - y) * stride + x * 3], 3);
    return picture;
}

Picture CaptureWindow(HWND window) {
    // Painted first: a list filled a moment ago may not have drawn itself yet.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT frame{};
    GetWindowRect(window, &frame);
    return Capture(window, frame);
}

}  // namespace testutil
