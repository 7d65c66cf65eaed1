#include "MessageBoxes.h"

#include "Utf8.h"
#include "WindowQuery.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>

namespace {

constexpr int kTextControlId = 0xFFFF;
// The icon's static control: 0x0440 in Wine's message box template, 0x14 in Windows's.
constexpr int kIconControlIds[] = {0x0440, 0x14};

HWND IconControlOf(HWND box)
{
    for (int id : kIconControlIds)
        if (HWND icon = GetDlgItem(box, id))
            return icon;
    return nullptr;
}

// 32-bit pixels of a w x h area, drawn by draw into a memory device context.
template <class Draw>
std::vector<std::uint32_t> PixelsDrawnBy(int width, int height, Draw draw)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    draw(memory);
    GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> pixels(first, first + width * height);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return pixels;
}

int ChannelDistance(std::uint32_t a, std::uint32_t b)
{
    int sum = 0;
    for (int shift = 0; shift < 24; shift += 8)
        sum += std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    return sum;
}

double MeanDistance(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b)
{
    long long sum = 0;
    for (size_t i = 0; i < a.size(); ++i)
        sum += ChannelDistance(a[i], b[i]);
    return static_cast<double>(sum) / static_cast<double>(a.size());
}

// Icon handles do not cross processes, so the icon is recognised by its look: the
// shown pixels are compared with the system icons drawn here on the same background.
BoxIcon RecogniseIconOnScreen(HWND iconControl)
{
    struct Candidate { BoxIcon kind; LPCWSTR id; };
    const Candidate candidates[] = {{BoxIcon::Error, IDI_ERROR}, {BoxIcon::Question, IDI_QUESTION},
                                    {BoxIcon::Warning, IDI_WARNING},
                                    {BoxIcon::Information, IDI_INFORMATION}};
    RECT area{};
    GetClientRect(iconControl, &area);
    POINT origin{0, 0};
    ClientToScreen(iconControl, &origin);
    const int width = area.right, height = area.bottom;
    if (width <= 0 || height <= 0)
        return BoxIcon::Unrecognised;
    const auto shown = PixelsDrawnBy(width, height, [&](HDC memory) {
        HDC screen = GetDC(nullptr);
        BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
        ReleaseDC(nullptr, screen);
    });
    BoxIcon best = BoxIcon::Unrecognised;
    double bestDistance = 12.0;   // mean per pixel over three channels: a near-exact match
    for (const Candidate& candidate : candidates) {
        const auto drawn = PixelsDrawnBy(width, height, [&](HDC memory) {
            HBRUSH background = CreateSolidBrush(RGB((shown[0] >> 16) & 0xFF, (shown[0] >> 8) & 0xFF, shown[0] & 0xFF));
            FillRect(memory, &area, background);
            DeleteObject(background);
            DrawIconEx(memory, 0, 0, LoadIconW(nullptr, candidate.id), width, height, 0, nullptr, DI_NORMAL);
        });
        const double distance = MeanDistance(shown, drawn);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = candidate.kind;
        }
    }
    return best;
}

BoxIcon IconOf(HWND box)
{
    HWND icon = IconControlOf(box);
    // A box without icon may keep an empty icon control in view.
    if (!icon || !IsWindowVisible(icon) || !SendWithTimeout(icon, STM_GETICON, 0, 0))
        return BoxIcon::None;
    // Read from the screen, so the box must be above every other window; a box just
    // opened may not be painted yet.
    SetWindowPos(box, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    BoxIcon kind = BoxIcon::Unrecognised;
    WaitUntil([&] { return (kind = RecogniseIconOnScreen(icon)) != BoxIcon::Unrecognised; }, 3s);
    return kind;
}

BOOL CALLBACK CollectButton(HWND child, LPARAM context)
{
    if (ClassNameOf(child) == L"Button" && IsWindowVisible(child))
        reinterpret_cast<std::vector<int>*>(context)->push_back(GetDlgCtrlID(child));
    return TRUE;
}

}  // namespace

const char* NameOf(BoxIcon icon)
{
    switch (icon) {
    case BoxIcon::None: return "no icon";
    case BoxIcon::Error: return "error icon";
    case BoxIcon::Question: return "question icon";
    case BoxIcon::Warning: return "warning icon";
    case BoxIcon::Information: return "information icon";
    case BoxIcon::Unrecognised: break;
    }
    return "unrecognised icon";
}

bool IsMessageBox(HWND window)
{
    return ClassNameOf(window) == L"#32770" && GetDlgItem(window, kTextControlId) != nullptr;
}

std::optional<MessageBoxView> ReadMessageBox(HWND box)
{
    const std::optional<std::wstring> caption = TextOf(box);
    const std::optional<std::wstring> text = ControlText(box, kTextControlId);
    if (!caption || !text)
        return std::nullopt;
    MessageBoxView view{box, *caption, *text, IconOf(box), {}};
    EnumChildWindows(box, CollectButton, reinterpret_cast<LPARAM>(&view.buttons));
    if (view.buttons.empty())   // the box is being torn down
        return std::nullopt;
    return view;
}

bool Answer(const MessageBoxView& box, int button)
{
    // Posted: the click ends the box, and what the program does next must not block us.
    PostMessageW(GetDlgItem(box.window, button), BM_CLICK, 0, 0);
    return WaitUntil([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); }, 5s);
}

std::string Describe(const MessageBoxView& box)
{
    std::ostringstream out;
    out << "message box \"" << Utf8(box.caption) << "\" / \"" << Utf8(box.text) << "\" with "
        << NameOf(box.icon) << " and buttons";
    for (int id : box.buttons)
        out << ' ' << id;
    return out.str();
}
