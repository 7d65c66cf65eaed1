#include "ScreenPixels.h"

#include <cstring>
#include <stdexcept>

ScreenPixels::ScreenPixels(const RECT& onScreen)
    : area_(onScreen), width_(onScreen.right - onScreen.left), height_(onScreen.bottom - onScreen.top),
      pixels_(static_cast<size_t>(width_) * height_)
{
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width_;
    format.bmiHeader.biHeight = -height_;   // top-down
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    const bool copied = bitmap && BitBlt(memory, 0, 0, width_, height_, screen, area_.left, area_.top, SRCCOPY);
    GdiFlush();
    if (copied)
        std::memcpy(pixels_.data(), bits, pixels_.size() * sizeof(std::uint32_t));
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!copied)
        throw std::runtime_error("cannot copy the screen");
}

bool ScreenPixels::Inside(int x, int y) const
{
    return x >= area_.left && x < area_.right && y >= area_.top && y < area_.bottom;
}

Rgb ScreenPixels::At(int x, int y) const
{
    const std::uint32_t pixel = pixels_.at(static_cast<size_t>(y - area_.top) * width_ + (x - area_.left));
    return {static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
            static_cast<std::uint8_t>(pixel)};
}
