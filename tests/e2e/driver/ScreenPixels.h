// What the screen shows: a copy of a rectangle of it, read pixel by pixel. Windows of
// other processes draw only to the screen, so this is the one way to see their colours.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

struct Rgb {
    std::uint8_t red, green, blue;
};

class ScreenPixels {
public:
    explicit ScreenPixels(const RECT& onScreen);   // copies the rectangle now

    // x and y in screen coordinates, inside the copied rectangle.
    Rgb At(int x, int y) const;
    // How many pixels of the part of the copy inside this screen rectangle match.
    template <class Predicate>
    int Count(const RECT& area, Predicate matches) const
    {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (Inside(x, y) && matches(At(x, y)))
                    ++count;
        return count;
    }

private:
    bool Inside(int x, int y) const;

    RECT area_;
    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_;   // top-down rows of 0x00RRGGBB
};
