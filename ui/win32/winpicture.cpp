// winpicture.cpp: the pictures of the Win32 driver: the picture of a
// picture button and the image of a picture control, drawn with their
// alpha over what the control's window draws beneath them.
//
// Exports (ui/win32/winprivate.h): AttachPicture, DrawPictureButton,
// PictureDpiChanged, PictureDrawn.
//
// Data model: the converter decodes every picture at build time into
// premultiplied BGRA pixels (uicore::UirImage), so no image decoder is
// loaded at run time. A control that shows a picture keeps the pictures
// it may need (the one it names and its "@2x" sibling) and, made from the
// one that suits the screen, a 32-bit DIB section of exactly the size it
// is drawn at, remade when that size or the dimmed state changes; each
// paint blends it once with GdiAlphaBlend. A picture button is an
// owner-drawn button (BS_OWNERDRAW): its panel asks for its face
// (WM_DRAWITEM), drawn here in the visual style's push button; its window
// text is its name, which only screen readers read. The control's record lives in
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
#include <uxtheme.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <type_traits>
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
    bool hot = false;                // a button under the pointer
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

// The visual styles' drawing (uxtheme), looked up once in the system
// folder only, as shcore is: null where Windows has none.
struct ThemeFunctions {
    HTHEME(WINAPI *open)(HWND, LPCWSTR) = nullptr;
    HRESULT(WINAPI *close)(HTHEME) = nullptr;
    HRESULT(WINAPI *background)(HTHEME, HDC, int, int, const RECT *, const RECT *) = nullptr;
    HRESULT(WINAPI *content)(HTHEME, HDC, int, int, const RECT *, RECT *) = nullptr;
    HRESULT(WINAPI *parentBackground)(HWND, HDC, const RECT *) = nullptr;
};
const ThemeFunctions &Themes() {
    static const ThemeFunctions f = [] {
        ThemeFunctions t;
        HMODULE m = LoadLibraryExW(L"uxtheme.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (!m) return t;
        const auto get = [m](auto *fn, const char *name) {
            *fn = reinterpret_cast<std::remove_pointer_t<decltype(fn)>>(reinterpret_cast<void *>(GetProcAddress(m, name)));
        };
        get(&t.open, "OpenThemeData");
        get(&t.close, "CloseThemeData");
        get(&t.background, "DrawThemeBackground");
        get(&t.content, "GetThemeBackgroundContentRect");
        get(&t.parentBackground, "DrawThemeParentBackground");
        if (!t.close || !t.background || !t.content || !t.parentBackground) t.open = nullptr;
        return t;
    }();
    return f;
}

// Button part and states of the visual styles (vssym32.h).
enum { kPushButton = 1, kNormal = 1, kHot = 2, kPressed = 3, kDisabled = 4, kDefaulted = 5 };

// An owner-drawn picture button's face (WM_DRAWITEM): the push button of
// the current visual style in its state (the classic raised edge where
// styles are off), its picture, and the focus frame when the keyboard cues
// show it. Its window text, its name for screen readers, is never drawn.
void DrawButton(CtrlPicture &pic, const DRAWITEMSTRUCT &d) {
    const bool disabled = d.itemState & ODS_DISABLED, pressed = d.itemState & ODS_SELECTED;
    RECT face = d.rcItem, inside = d.rcItem;
    const ThemeFunctions &t = Themes();
    HTHEME theme = t.open ? t.open(d.hwndItem, L"BUTTON") : nullptr;
    if (theme) {
        const int state = disabled ? kDisabled
                          : pressed ? kPressed
                          : pic.hot ? kHot
                          : (d.itemState & ODS_FOCUS) ? kDefaulted
                                                      : kNormal;
        t.parentBackground(d.hwndItem, d.hDC, &face);
        t.background(theme, d.hDC, kPushButton, state, &face, nullptr);
        t.content(theme, d.hDC, kPushButton, state, &face, &inside);
        t.close(theme);
    } else {
        DrawFrameControl(d.hDC, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
        InflateRect(&inside, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
    }
    DrawPicture(pic, d.hwndItem, d.hDC);
    if ((d.itemState & ODS_FOCUS) && !(d.itemState & ODS_NOFOCUSRECT)) {
        InflateRect(&inside, -1, -1);
        DrawFocusRect(d.hDC, &inside);
    }
}

LRESULT CALLBACK PictureSubclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
    auto *holder = reinterpret_cast<std::shared_ptr<CtrlPicture> *>(data);
    CtrlPicture &pic = **holder;
    switch (msg) {
    case WM_NCDESTROY: {
        WinRemoveSubclass(hwnd, PictureSubclass, id);
        g_pictures.erase(hwnd);
        delete holder;
        return WinDefSubclass(hwnd, msg, wParam, lParam);
    }
    case WM_PAINT: {
        if (pic.button) break;   // owner-drawn: DrawButton
        PAINTSTRUCT ps;
        HDC dc = wParam ? reinterpret_cast<HDC>(wParam) : BeginPaint(hwnd, &ps);
        PaintStatic(pic, hwnd, dc);
        if (!wParam) EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        if (pic.button) break;
        PaintStatic(pic, hwnd, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        if (!pic.button) return 1;   // WM_PAINT fills it all
        break;
    // An owner-drawn button only reports a second press soon after the
    // first (BN_DOUBLECLICKED); a push button takes it as a press, and so
    // does a picture button: each click commits.
    case WM_LBUTTONDBLCLK:
        if (pic.button) return WinDefSubclass(hwnd, WM_LBUTTONDOWN, wParam, lParam);
        break;
    // The hot face under the pointer, which an owner-drawn button does not
    // track itself: from the first move over it until Windows says the
    // pointer left (TrackMouseEvent's WM_MOUSELEAVE).
    case WM_MOUSEMOVE:
        if (pic.button && !pic.hot) {
            TRACKMOUSEEVENT tme = {sizeof tme, TME_LEAVE, hwnd, 0};
            pic.hot = TrackMouseEvent(&tme) != FALSE;
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        break;
    case WM_MOUSELEAVE:
        if (pic.hot) {
            pic.hot = false;
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        break;
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

bool DrawPictureButton(const DRAWITEMSTRUCT &d) {
    CtrlPicture *pic = PictureOf(d.hwndItem);
    if (!pic || !pic->button) return false;
    DrawButton(*pic, d);
    return true;
}

bool PictureDrawn(HWND hwnd, std::string *key, SIZE *size) {
    const CtrlPicture *pic = PictureOf(hwnd);
    if (!pic || !pic->bitmap) return false;
    *key = pic->madeFrom;
    *size = pic->madeSize;
    return true;
}

}  // namespace uiwin
