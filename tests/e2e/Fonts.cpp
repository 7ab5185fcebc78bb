// Text as the program draws it, seen from the driver's process: measured in the template's
// font, or found on the screen.
#include "Driver.h"

#include <map>

namespace e2e {

std::vector<uint32_t> CaptureScreen(const RECT& rect) {
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    std::vector<uint32_t> pixels(static_cast<const uint32_t*>(bits),
                                 static_cast<const uint32_t*>(bits) + width * height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

namespace {

// Calls `measure` with the screen's DC, the template's font selected in it at its point size.
template <class Measure> auto WithTemplateFont(const char* face, int pointSize, Measure measure) {
    HDC dc = GetDC(nullptr);
    HFONT font =
        CreateFontA(-MulDiv(pointSize, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_DONTCARE,
                    FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, PROOF_QUALITY, FF_DONTCARE, face);
    HGDIOBJ old = SelectObject(dc, font);
    const auto result = measure(dc);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return result;
}

int Distance(uint32_t a, uint32_t b) {
    int sum = 0;
    for (int shift = 0; shift < 24; shift += 8)
        sum +=
            std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    return sum;
}

} // namespace

RECT InkBox(HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    POINT origin{0, 0};
    ClientToScreen(control, &origin);
    const int width = client.right, height = client.bottom;
    if (width <= 0 || height <= 0)
        return {};
    const std::vector<uint32_t> pixels =
        CaptureScreen({origin.x, origin.y, origin.x + width, origin.y + height});
    std::map<uint32_t, int> counts;
    for (uint32_t p : pixels)
        ++counts[p & 0xFFFFFF];
    uint32_t background = 0;
    int most = 0;
    for (const auto& [colour, count] : counts)
        if (count > most)
            most = count, background = colour;
    RECT box{width, height, 0, 0};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (Distance(pixels[y * width + x] & 0xFFFFFF, background) > 96) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box.right > box.left ? box : RECT{};
}

SIZE TemplateTextSize(HWND control, const char* face, int pointSize) {
    const std::string text = WindowText(control);
    RECT client{};
    GetClientRect(control, &client);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const UINT format = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS |
                        ((style & SS_CENTERIMAGE) ? DT_SINGLELINE : DT_WORDBREAK);
    return WithTemplateFont(face, pointSize, [&](HDC dc) {
        RECT rect{0, 0, client.right, 0};
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
        return SIZE{rect.right - rect.left, rect.bottom - rect.top};
    });
}

// As the dialog manager does for a template with DS_SETFONT: y from the font's tmHeight, x from
// the average width of the 52 letters, rounded.
BaseUnits DialogBaseUnits(const char* face, int pointSize) {
    return WithTemplateFont(face, pointSize, [](HDC dc) {
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        SIZE size{};
        GetTextExtentPoint32A(dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52,
                              &size);
        return BaseUnits{(size.cx / 26 + 1) / 2, metrics.tmHeight};
    });
}

RECT DialogUnitsToPixels(const BaseUnits& units, int x, int y, int cx, int cy) {
    const int left = MulDiv(x, units.x, 4), top = MulDiv(y, units.y, 8);
    return {left, top, left + MulDiv(cx, units.x, 4), top + MulDiv(cy, units.y, 8)};
}

} // namespace e2e
