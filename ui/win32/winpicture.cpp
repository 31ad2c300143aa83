// winpicture.cpp: the pictures of the Win32 driver: the picture of a
// picture button and the image of a picture control, drawn with their
// alpha over what the control's window draws beneath them.
//
// Exports (ui/win32/winprivate.h): AttachPicture,
// PictureDpiChanged, PictureDrawn.
//
// Data model: the converter decodes every picture at build time into
// premultiplied BGRA pixels (uicore::UirImage), so no image decoder is
// loaded at run time. A control that shows a picture keeps the pictures
// it may need (the one it names and its "@2x" sibling) and, made from the
// one that suits the screen, a 32-bit DIB section of exactly the size it
// is drawn at, remade when that size or the dimmed state changes; each
// paint blends it once with GdiAlphaBlend. The control's record lives in
// its window's subclass data and goes with the window (WM_NCDESTROY), so a
// window destroyed after its panel record is gone still paints safely.
// The size drawn is in 96-DPI units as the resource gives it (the
// button's iconSize; a scaled picture control fills itself), scaled to the
// pixels of the DPI its control is laid out at, which also chooses between
// the picture and its "@2x" sibling; a source of another size is resampled by area
// averaging, as Qt scales a picture down smoothly.
//
// State: g_pictures, the picture of each window showing one (gone with
// the window), for the DPI it follows.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <vector>

#include "ui/win32/winprivate.h"

namespace uiwin {

namespace {
struct CtrlPicture;
std::map<HWND, CtrlPicture *> g_pictures;

struct CtrlPicture {
    std::string key;
    uicore::UirImageMap sources;   // the named picture and its sibling, those the file has
    SIZE logical = {0, 0};           // drawn size in 96-DPI units; {0, 0}: fills the control
    bool button = false;
    int dpi = 96;                    // its control's
    HBITMAP bitmap = nullptr;        // made for madeSize / madeDimmed
    SIZE madeSize = {0, 0};
    bool madeDimmed = false;
    std::string madeFrom;

    CtrlPicture() = default;
    CtrlPicture(const CtrlPicture &) = delete;
    CtrlPicture &operator=(const CtrlPicture &) = delete;
    ~CtrlPicture() {
        if (bitmap && DeleteObject(bitmap)) NoteGdi(-1);
    }
};

// Area-averaged resampling of premultiplied pixels to w x h: each pixel
// made is the mean of the source area it covers (fractional edges
// weighted), which keeps a halved picture exactly its 2 x 2 means.
std::vector<unsigned char> Resample(const uicore::UirImage &src, int w, int h) {
    std::vector<unsigned char> out(static_cast<size_t>(w) * h * 4);
    const auto *in = reinterpret_cast<const unsigned char *>(src.bgra.data());
    if (w == src.width && h == src.height) {
        std::memcpy(out.data(), in, out.size());
        return out;
    }
    const double sx = static_cast<double>(src.width) / w, sy = static_cast<double>(src.height) / h;
    for (int y = 0; y < h; ++y) {
        const double y0 = y * sy, y1 = (y + 1) * sy;
        for (int x = 0; x < w; ++x) {
            const double x0 = x * sx, x1 = (x + 1) * sx;
            double acc[4] = {0, 0, 0, 0}, weight = 0;
            for (int j = static_cast<int>(y0); j < std::min(src.height, static_cast<int>(std::ceil(y1))); ++j) {
                const double wy = std::min(y1, j + 1.0) - std::max(y0, static_cast<double>(j));
                for (int i = static_cast<int>(x0); i < std::min(src.width, static_cast<int>(std::ceil(x1))); ++i) {
                    const double wgt = wy * (std::min(x1, i + 1.0) - std::max(x0, static_cast<double>(i)));
                    const unsigned char *px = in + (static_cast<size_t>(j) * src.width + i) * 4;
                    for (int k = 0; k < 4; ++k) acc[k] += wgt * px[k];
                    weight += wgt;
                }
            }
            unsigned char *o = out.data() + (static_cast<size_t>(y) * w + x) * 4;
            for (int k = 0; k < 4; ++k) o[k] = static_cast<unsigned char>(weight > 0 ? acc[k] / weight + 0.5 : 0);
        }
    }
    return out;
}

// A dimmed picture, as Qt dims one: grey and half transparent (still
// premultiplied: every channel is scaled alike).
void Dim(std::vector<unsigned char> *pixels) {
    for (size_t i = 0; i + 3 < pixels->size(); i += 4) {
        unsigned char *p = pixels->data() + i;
        const int grey = (p[0] * 29 + p[1] * 150 + p[2] * 77) >> 8;
        p[0] = p[1] = p[2] = static_cast<unsigned char>(grey / 2);
        p[3] = static_cast<unsigned char>(p[3] / 2);
    }
}

// Where the picture lies in the control's client area, in pixels.
RECT PictureRect(const CtrlPicture &pic, HWND hwnd) {
    RECT client;
    GetClientRect(hwnd, &client);
    if (pic.logical.cx <= 0) return client;
    const int w = MulDiv(pic.logical.cx, pic.dpi, 96), h = MulDiv(pic.logical.cy, pic.dpi, 96);
    // A button centres its picture; a picture control that does not scale
    // its image shows it at the left, centred on its height.
    const int x = pic.button ? (client.right - w) / 2 : 0;
    const int y = (client.bottom - h) / 2;
    return RECT{x, y, x + w, y + h};
}

// The bitmap of the picture at that size, made again when it changed.
HBITMAP BitmapFor(CtrlPicture &pic, SIZE size, bool dimmed) {
    const std::string from = uicore::ChoosePictureKey(pic.sources, pic.key, pic.dpi);
    if (pic.bitmap && pic.madeSize.cx == size.cx && pic.madeSize.cy == size.cy && pic.madeDimmed == dimmed &&
        pic.madeFrom == from)
        return pic.bitmap;
    if (pic.bitmap && DeleteObject(pic.bitmap)) NoteGdi(-1);
    pic.bitmap = nullptr;
    const auto src = pic.sources.find(from);
    if (src == pic.sources.end() || size.cx <= 0 || size.cy <= 0) return nullptr;
    std::vector<unsigned char> pixels = Resample(*src->second, size.cx, size.cy);
    if (dimmed) Dim(&pixels);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = size.cx;
    bi.bmiHeader.biHeight = -size.cy;   // rows top down, as the converter wrote them
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    pic.bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!pic.bitmap) return nullptr;
    NoteGdi(1);
    std::memcpy(bits, pixels.data(), pixels.size());
    GdiFlush();
    pic.madeSize = size;
    pic.madeDimmed = dimmed;
    pic.madeFrom = from;
    return pic.bitmap;
}

void DrawPicture(CtrlPicture &pic, HWND hwnd, HDC dc) {
    const RECT r = PictureRect(pic, hwnd);
    const SIZE size = {r.right - r.left, r.bottom - r.top};
    HBITMAP bitmap = BitmapFor(pic, size, !IsWindowEnabled(hwnd));
    if (!bitmap) return;
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, bitmap);
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(dc, r.left, r.top, size.cx, size.cy, mem, 0, 0, size.cx, size.cy, blend);
    SelectObject(mem, old);
    DeleteDC(mem);
}

// A picture control: the panel's background (as the static's parent gives
// it), then the picture.
void PaintStatic(CtrlPicture &pic, HWND hwnd, HDC dc) {
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH brush = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(hwnd), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
    FillRect(dc, &client, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
    DrawPicture(pic, hwnd, dc);
}

// The picture button the button class is drawing now, null when none:
// while it draws, its window text reads as empty, so that the name it
// carries for screen readers (winctrl.cpp, WinSetAccessibleName) is never
// drawn under its picture.
static HWND g_drawing = nullptr;

// The button class's own handling of msg, drawing without its text.
static LRESULT DrawWithoutText(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND outer = g_drawing;
    g_drawing = hwnd;
    const LRESULT r = WinDefSubclass(hwnd, msg, wParam, lParam);
    g_drawing = outer;
    return r;
}

LRESULT CALLBACK PictureSubclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
    auto *holder = reinterpret_cast<std::shared_ptr<CtrlPicture> *>(data);
    CtrlPicture &pic = **holder;
    if (g_drawing == hwnd && (msg == WM_GETTEXT || msg == WM_GETTEXTLENGTH)) {
        if (msg == WM_GETTEXT && wParam > 0 && lParam) reinterpret_cast<wchar_t *>(lParam)[0] = L'\0';
        return 0;
    }
    switch (msg) {
    case WM_NCDESTROY: {
        WinRemoveSubclass(hwnd, PictureSubclass, id);
        g_pictures.erase(hwnd);
        delete holder;
        return WinDefSubclass(hwnd, msg, wParam, lParam);
    }
    case WM_PAINT: {
        // The button paints itself (into the DC given, as buttons do), and
        // the picture goes over its face.
        PAINTSTRUCT ps;
        HDC dc = wParam ? reinterpret_cast<HDC>(wParam) : BeginPaint(hwnd, &ps);
        if (pic.button) {
            DrawWithoutText(hwnd, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
            DrawPicture(pic, hwnd, dc);
        } else {
            PaintStatic(pic, hwnd, dc);
        }
        if (!wParam) EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        if (!pic.button) {
            PaintStatic(pic, hwnd, dc);
            return 0;
        }
        const LRESULT r = DrawWithoutText(hwnd, msg, wParam, lParam);
        DrawPicture(pic, hwnd, dc);
        return r;
    }
    case WM_ERASEBKGND:
        if (!pic.button) return 1;   // WM_PAINT fills it all
        break;
    // What changes the button's look: painted anew as a whole, so that
    // the picture is never blended twice over itself.
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_ENABLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE: {
        const LRESULT r = pic.button ? DrawWithoutText(hwnd, msg, wParam, lParam) : WinDefSubclass(hwnd, msg, wParam, lParam);
        InvalidateRect(hwnd, nullptr, FALSE);
        return r;
    }
    default: break;
    }
    return WinDefSubclass(hwnd, msg, wParam, lParam);
}

}  // namespace

void AttachPicture(Ctrl &c, const uicore::Picture &picture) {
    auto pic = std::make_shared<CtrlPicture>();
    pic->key = picture.key;
    pic->sources = picture.sources;
    pic->logical = {picture.width, picture.height};
    pic->dpi = N(c).dpi;
    pic->button = c.style == CTRL_PICTURE_COMMAND_BUTTON;
    WinSetSubclass(N(c).hwnd, PictureSubclass, 2, reinterpret_cast<DWORD_PTR>(new std::shared_ptr<CtrlPicture>(pic)));
    g_pictures[N(c).hwnd] = pic.get();
    InvalidateRect(N(c).hwnd, nullptr, TRUE);
}

// The picture a control's window shows, null when none.
static CtrlPicture *PictureOf(HWND hwnd) {
    const auto it = g_pictures.find(hwnd);
    return it == g_pictures.end() ? nullptr : it->second;
}

void PictureDpiChanged(const Ctrl &c) {
    if (CtrlPicture *pic = PictureOf(N(c).hwnd)) pic->dpi = N(c).dpi;
}

bool PictureDrawn(HWND hwnd, std::string *key, SIZE *size) {
    const CtrlPicture *pic = PictureOf(hwnd);
    if (!pic || !pic->bitmap) return false;
    *key = pic->madeFrom;
    *size = pic->madeSize;
    return true;
}

}  // namespace uiwin
