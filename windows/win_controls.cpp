#include "windows/win_controls.h"

#include "geometry/number_text.h"
#include "windows/accessible.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace windows {

namespace {

constexpr const wchar_t* kWindowClass = L"TrivyrhnikWindow";
constexpr const wchar_t* kSurfaceClass = L"TrivyrhnikSurface";

// Control ids: none of them is IDOK (1) or IDCANCEL (2), which the dialog
// keys Enter and Esc send.
constexpr int kPictureId = 100;
constexpr int kListId = 110;
constexpr int kTextId = 120;
constexpr int kButtonId = 130;
constexpr int kLabelId = 140;

constexpr UINT_PTR kSubclassId = 1;

// The window's fixed light colours, whatever the system's colour scheme:
// black text on white lists and text boxes, a grey frame around the surface.
constexpr Rgb kText = rgb(0, 0, 0);
constexpr Rgb kPaper = rgb(255, 255, 255);
constexpr Rgb kFrame = rgb(184, 184, 184);
constexpr Rgb kFrameDark = rgb(159, 159, 159);
constexpr Rgb kFrameLight = rgb(255, 255, 255);
constexpr Rgb kFocus = rgb(48, 140, 198);
constexpr Rgb kButtonEdge = rgb(64, 64, 64);
constexpr Rgb kDisabledText = rgb(96, 96, 96);

COLORREF colorRef(Rgb c) { return RGB(c.r, c.g, c.b); }

void fill(HDC dc, const RECT& r, Rgb colour)
{
    SetBkColor(dc, colorRef(colour));
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

// A frame `width` pixels wide inside r.
void frame(HDC dc, RECT r, int width, Rgb colour)
{
    for (int i = 0; i < width; ++i) {
        fill(dc, RECT{r.left, r.top, r.right, r.top + 1}, colour);
        fill(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, colour);
        fill(dc, RECT{r.left, r.top, r.left + 1, r.bottom}, colour);
        fill(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, colour);
        InflateRect(&r, -1, -1);
    }
}

HWND createChild(const wchar_t* windowClass, DWORD style, DWORD exStyle, HWND parent, int id)
{
    HWND hwnd = CreateWindowExW(exStyle, windowClass, L"", style | WS_CHILD, 0, 0, 0, 0, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!hwnd)
        throw std::runtime_error("CreateWindowEx failed");
    return hwnd;
}

template <typename T>
T* fromUserData(HWND hwnd)
{
    return reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

} // namespace

// ----------------------------------------------------------------- text

std::wstring widen(const std::string& text)
{
    if (text.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string narrow(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int n
        = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring toEditText(const std::string& text)
{
    const std::wstring wide = widen(text);
    std::wstring out;
    out.reserve(wide.size() + wide.size() / 16);
    for (size_t i = 0; i < wide.size(); ++i) {
        const wchar_t c = wide[i];
        if (c == L'\r') {
            out += L"\r\n";
            if (i + 1 < wide.size() && wide[i + 1] == L'\n')
                ++i;
        } else if (c == L'\n') {
            out += L"\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string decimalSeparatorFrom(const std::wstring& setting)
{
    // Windows lets the user type up to three characters of any kind.
    return geometry::usableDecimalSeparator(narrow(setting));
}

std::string userDecimalSeparator()
{
    std::array<wchar_t, 8> buffer{};
    const int n
        = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, buffer.data(), static_cast<int>(buffer.size()));
    if (n <= 1)
        return ".";
    return decimalSeparatorFrom(std::wstring(buffer.data(), static_cast<size_t>(n - 1)));
}

bool selectAllOnCtrlA(HWND edit, UINT message, WPARAM key, bool ctrl, bool alt)
{
    if (message == WM_KEYDOWN && key == 'A' && ctrl && !alt) {
        SendMessageW(edit, EM_SETSEL, 0, -1);
        return true;
    }
    // The character that Ctrl+A also sends would only beep.
    return message == WM_CHAR && key == 1;
}

// -------------------------------------------------------------- surface

void WinPicture::registerClass(HINSTANCE instance)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &WinPicture::proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_CROSS));
    wc.lpszClassName = kSurfaceClass;
    RegisterClassExW(&wc);
}

WinPicture::WinPicture(WinForm& form, HWND parent, int id) : form_(form)
{
    hwnd_ = createChild(kSurfaceClass, WS_TABSTOP | WS_VISIBLE, 0, parent, id);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

int WinPicture::deviceBorder() const { return static_cast<int>(std::lround(kPictureBorder * scale_)); }

void WinPicture::fit(double scale)
{
    scale_ = scale;
    RECT r{};
    GetClientRect(hwnd_, &r);
    // The drawing area keeps its logical size: that of the design at the
    // standard 96 dots per inch, inside the frame.
    const PixelSize area = drawingArea(
        PixelSize{static_cast<int>(std::lround(r.right / scale)), static_cast<int>(std::lround(r.bottom / scale))});
    const auto& c = canvas();
    if (c.width() != area.width || c.height() != area.height || c.scale() != scale)
        resizeCanvas(area.width, area.height, scale);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

bool WinPicture::logicalPixel(int deviceX, int deviceY, int& x, int& y) const
{
    const int b = deviceBorder();
    RECT all{};
    GetClientRect(hwnd_, &all);
    if (deviceX >= all.right - b || deviceY >= all.bottom - b)
        return false; // the frame at the right or bottom
    const double fx = std::floor((deviceX - b) / scale_);
    const double fy = std::floor((deviceY - b) / scale_);
    if (fx < 0 || fy < 0 || fx >= canvas().width() || fy >= canvas().height())
        return false;
    x = static_cast<int>(fx);
    y = static_cast<int>(fy);
    return true;
}

void WinPicture::changed()
{
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, FALSE);
}

void WinPicture::paint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT all{};
    GetClientRect(hwnd_, &all);
    const int b = deviceBorder();
    // A sunken frame; with the keyboard focus it takes the highlight colour.
    if (GetFocus() == hwnd_) {
        frame(dc, all, b, kFocus);
    } else {
        frame(dc, all, b, kFrame);
        fill(dc, RECT{all.left, all.top, all.right, all.top + 1}, kFrameDark);
        fill(dc, RECT{all.left, all.top, all.left + 1, all.bottom}, kFrameDark);
        fill(dc, RECT{all.left, all.bottom - 1, all.right, all.bottom}, kFrameLight);
        fill(dc, RECT{all.right - 1, all.top, all.right, all.bottom}, kFrameLight);
    }
    const auto& c = canvas();
    // The pixels one to one: 0xFFRRGGBB is a top-down 32-bit DIB's BGRA.
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = c.deviceWidth();
    bmi.bmiHeader.biHeight = -c.deviceHeight();
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    // Only inside the frame: at some scales (1.25, 1.75) the rounded buffer
    // is a device pixel wider than the area the rounded frame leaves.
    IntersectClipRect(dc, b, b, all.right - b, all.bottom - b);
    if (c.deviceWidth() > 0 && c.deviceHeight() > 0)
        SetDIBitsToDevice(dc, b, b, static_cast<DWORD>(c.deviceWidth()), static_cast<DWORD>(c.deviceHeight()), 0, 0, 0,
                          static_cast<UINT>(c.deviceHeight()), c.pixels().data(), &bmi, DIB_RGB_COLORS);
    // Whatever the buffer does not cover inside the frame (a rounding pixel).
    const RECT inner{b + c.deviceWidth(), b, all.right - b, all.bottom - b};
    if (inner.left < inner.right)
        fill(dc, inner, backColor());
    const RECT below{b, b + c.deviceHeight(), b + c.deviceWidth(), all.bottom - b};
    if (below.top < below.bottom)
        fill(dc, below, backColor());
    EndPaint(hwnd_, &ps);
}

void WinPicture::press(int deviceX, int deviceY, std::int16_t button, WPARAM keys)
{
    SetFocus(hwnd_);
    int x = 0, y = 0;
    if (!logicalPixel(deviceX, deviceY, x, y))
        return; // on the frame
    std::int16_t shift = 0;
    if (keys & MK_SHIFT)
        shift |= 1;
    if (keys & MK_CONTROL)
        shift |= 2;
    if (GetKeyState(VK_MENU) < 0)
        shift |= 4;
    form_.dispatch([&] { pressMouse(static_cast<float>(x), static_cast<float>(y), button, shift); });
}

LRESULT CALLBACK WinPicture::proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = fromUserData<WinPicture>(hwnd);
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    switch (message) {
    case WM_PAINT: self->paint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: self->press(x, y, 1, wParam); return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: self->press(x, y, 2, wParam); return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: self->press(x, y, 4, wParam); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateRect(hwnd, nullptr, FALSE); return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

// ---------------------------------------------------------------- lists

WinList::WinList(WinForm& form, HWND parent, int id) : RowList(&form)
{
    // LB_SETCURSEL notifies no one: a selection made by code raises no
    // click, whether or not it changes the row.
    raisesOnCodeChange_ = false;
    hwnd_ = createChild(WC_LISTBOXW, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE,
                        parent, id);
    SetWindowSubclass(hwnd_, &WinList::proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

std::wstring WinList::shown(int row) const
{
    const auto n = SendMessageW(hwnd_, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
    if (n == LB_ERR)
        return {};
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    const auto got = SendMessageW(hwnd_, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
    return text;
}

void WinList::changed()
{
    const auto& texts = rows();
    const int n = static_cast<int>(texts.size());
    int count = static_cast<int>(SendMessageW(hwnd_, LB_GETCOUNT, 0, 0));
    for (; count > n; --count)
        SendMessageW(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(count - 1), 0);
    for (int r = 0; r < n; ++r) {
        const std::wstring text = widen(texts[static_cast<size_t>(r)]);
        if (r >= count) {
            SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        } else if (shown(r) != text) {
            SendMessageW(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(r), 0);
            SendMessageW(hwnd_, LB_INSERTSTRING, static_cast<WPARAM>(r), reinterpret_cast<LPARAM>(text.c_str()));
        }
    }
    if (SendMessageW(hwnd_, LB_GETCURSEL, 0, 0) != static_cast<LRESULT>(listIndex()))
        SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(listIndex()), 0);
}

void WinList::selectionChanged()
{
    const auto row = SendMessageW(hwnd_, LB_GETCURSEL, 0, 0);
    if (row != LB_ERR)
        userSelect(static_cast<int>(row));
}

LRESULT CALLBACK WinList::proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/, DWORD_PTR data)
{
    auto* self = reinterpret_cast<WinList*>(data);
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        // The row under the press: LB_ITEMFROMPOINT says "outside" in the
        // high word.
        const auto hit = SendMessageW(hwnd, LB_ITEMFROMPOINT, 0, lParam);
        self->pressBegan(HIWORD(hit) == 0 ? static_cast<int>(LOWORD(hit)) : -1);
        break;
    }
    case WM_LBUTTONUP: {
        const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
        self->pressEnded();
        return result;
    }
    default: break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// ----------------------------------------------------------------- text

WinText::WinText(WinForm& form, HWND parent, int id) : KeptText({}, true), form_(form)
{
    hwnd_ = createChild(WC_EDITW, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_NOHIDESEL | WS_VSCROLL | WS_TABSTOP,
                        WS_EX_CLIENTEDGE, parent, id);
    // No limit on the length: the teaching text and long reports fit.
    SendMessageW(hwnd_, EM_SETLIMITTEXT, 0, 0);
    SetWindowSubclass(hwnd_, &WinText::proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void WinText::textKept() { form_.settle(); }

void WinText::display(const std::string& text) { SetWindowTextW(hwnd_, toEditText(text).c_str()); }

LRESULT CALLBACK WinText::proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                               DWORD_PTR /*data*/)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_CHAR:
        if (selectAllOnCtrlA(hwnd, message, wParam, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0))
            return 0;
        break;
    case WM_GETDLGCODE:
        // The box is only read: Tab moves on to the next control.
        return DefSubclassProc(hwnd, message, wParam, lParam) & ~(DLGC_WANTTAB | DLGC_WANTALLKEYS);
    default: break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// -------------------------------------------------------------- buttons

WinButton::WinButton(WinForm& form, int index, HWND parent, int id, Rgb colour)
    : FormButton(form, index)
    , form_(form)
    , colour_(colour)
{
    hwnd_ = createChild(WC_BUTTONW, BS_OWNERDRAW | WS_TABSTOP | WS_VISIBLE, 0, parent, id);
}

void WinButton::showEnabled(bool on) { EnableWindow(hwnd_, on ? TRUE : FALSE); }

void WinButton::draw(const DRAWITEMSTRUCT& item) const
{
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    const int unit = std::max(1, static_cast<int>(std::lround(form_.scale())));

    fill(dc, r, colour_);
    frame(dc, r, (pressed || focused) ? 2 * unit : unit, kButtonEdge);

    std::array<wchar_t, 64> caption{};
    const int n = GetWindowTextW(hwnd_, caption.data(), static_cast<int>(caption.size()));
    SetBkMode(dc, TRANSPARENT);
    if (pressed)
        OffsetRect(&r, unit, unit);
    if (disabled) {
        // Engraved grey letters: plainly not available, on any colour.
        RECT shadow = r;
        OffsetRect(&shadow, unit, unit);
        SetTextColor(dc, colorRef(kFrameLight));
        DrawTextW(dc, caption.data(), n, &shadow, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SetTextColor(dc, colorRef(kDisabledText));
    } else {
        SetTextColor(dc, colorRef(kText));
    }
    DrawTextW(dc, caption.data(), n, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (focused) {
        // The system's dotted focus rectangle inside the frame.
        RECT mark = item.rcItem;
        InflateRect(&mark, -3 * unit, -3 * unit);
        SetTextColor(dc, colorRef(kText));
        SetBkColor(dc, colorRef(colour_));
        DrawFocusRect(dc, &mark);
    }
}

// --------------------------------------------------------------- labels

WinLabel::WinLabel(HWND parent, int id, const std::string& caption, Rgb colour)
    : caption_(caption)
    , colour_(colour)
    , brush_(CreateSolidBrush(colorRef(colour)))
{
    hwnd_ = createChild(WC_STATICW, SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX | WS_VISIBLE, 0, parent, id);
    SetWindowTextW(hwnd_, widen(caption).c_str());
}

// ----------------------------------------------------------------- form

WinForm::WinForm(FormDesign design, HINSTANCE instance, HICON icon, HICON smallIcon)
    : FormOf(design)
    , design_(std::move(design))
{
    background_ = CreateSolidBrush(colorRef(design_.backColor));
    white_ = CreateSolidBrush(colorRef(kPaper));

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &WinForm::proc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hIconSm = smallIcon != nullptr ? smallIcon : icon;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kWindowClass;
    RegisterClassExW(&wc);
    WinPicture::registerClass(instance);

    // A fixed window: no sizing border and no maximise button.
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    hwnd_ = CreateWindowExW(0, kWindowClass, widen(design_.caption).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
    if (!hwnd_)
        throw std::runtime_error("CreateWindowEx failed");
    dpi_ = GetDpiForWindow(hwnd_);
    if (dpi_ == 0)
        dpi_ = USER_DEFAULT_SCREEN_DPI;
    font_ = makeFont();

    // Created in tab order, which is the order in which Tab visits them.
    for (const ControlDesign* c : ui::tabOrder(design_)) {
        HWND w = nullptr;
        switch (c->kind) {
        case ControlKind::Picture: w = adopt(0, std::make_unique<WinPicture>(*this, hwnd_, kPictureId))->hwnd(); break;
        case ControlKind::List:
            w = adopt(c->index, std::make_unique<WinList>(*this, hwnd_, kListId + c->index))->hwnd();
            break;
        case ControlKind::Text: {
            auto* text = adopt(c->index, std::make_unique<WinText>(*this, hwnd_, kTextId + c->index));
            // The window's font before the text, which the control then
            // measures once.
            SendMessageW(text->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
            text->setText(c->text);
            text->sync();
            w = text->hwnd();
            break;
        }
        case ControlKind::Button:
            w = adopt(c->index,
                      std::make_unique<WinButton>(*this, c->index, hwnd_, kButtonId + c->index,
                                                  c->backColor.value_or(kFrame)))
                    ->hwnd();
            SetWindowTextW(w, widen(c->text).c_str());
            break;
        case ControlKind::Label:
            w = adopt(c->index,
                      std::make_unique<WinLabel>(hwnd_, kLabelId + c->index, c->text,
                                                 c->backColor.value_or(design_.backColor)))
                    ->hwnd();
            break;
        }
        ShowWindow(w, c->visible ? SW_SHOWNA : SW_HIDE);
        makeAccessible(w, *c);
        placed_.emplace_back(w, c);
    }
    layout(nullptr);
}

WinForm::~WinForm()
{
    if (hwnd_ && IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    if (font_)
        DeleteObject(font_);
    DeleteObject(background_);
    DeleteObject(white_);
}

HFONT WinForm::makeFont() const
{
    return CreateFontW(-MulDiv(design_.font.pointSize, static_cast<int>(dpi_), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                       FALSE, RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_ROMAN, widen(design_.font.family).c_str());
}

void WinForm::layout(const RECT* suggested)
{
    RECT frameRect{0, 0, pixels(design_.clientWidth), pixels(design_.clientHeight)};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
    AdjustWindowRectExForDpi(&frameRect, style, FALSE, exStyle, dpi_);
    const int w = frameRect.right - frameRect.left;
    const int h = frameRect.bottom - frameRect.top;
    if (suggested)
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    else
        SetWindowPos(hwnd_, nullptr, 0, 0, w, h, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    // Where the frame drawn is not the one computed for this DPI (a system
    // that keeps the frame's metrics), the client area is put right.
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int dw = pixels(design_.clientWidth) - client.right;
    const int dh = pixels(design_.clientHeight) - client.bottom;
    if (dw != 0 || dh != 0)
        SetWindowPos(hwnd_, nullptr, 0, 0, w + dw, h + dh, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    for (const auto& [control, c] : placed_) {
        SetWindowPos(control, nullptr, pixels(c->left), pixels(c->top), pixels(c->width), pixels(c->height),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    }
    Picture1().fit(scale());
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void WinForm::show(int showCommand)
{
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
    giveFocus();
}

int WinForm::run()
{
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        deliver(msg);
    return static_cast<int>(msg.wParam);
}

void WinForm::deliver(MSG& msg)
{
    if (IsDialogMessageW(hwnd_, &msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void WinForm::reportFailure(const std::string& what)
{
    if (report_)
        report_(what);
    else
        MessageBoxW(hwnd_, widen(failureMessage(what)).c_str(), widen(design_.caption).c_str(), MB_ICONERROR | MB_OK);
}

std::optional<ControlRef> WinForm::controlOf(HWND window) const
{
    for (const auto& [control, c] : placed_)
        if (window && control == window)
            return ControlRef{c->kind, c->index};
    return std::nullopt;
}

HWND WinForm::windowOf(ControlRef c) const
{
    for (const auto& [control, design] : placed_)
        if (design->kind == c.kind && design->index == c.index)
            return control;
    return nullptr;
}

std::optional<ControlRef> WinForm::focusedControl() { return controlOf(GetFocus()); }

void WinForm::focusControl(ControlRef c) { SetFocus(windowOf(c)); }

void WinForm::showControl(ControlRef c, bool on) { ShowWindow(windowOf(c), on ? SW_SHOWNA : SW_HIDE); }

void WinForm::command(int id, int code, LPARAM control)
{
    if (id >= kButtonId && id < kButtonId + kButtons && (code == BN_CLICKED || code == BN_DOUBLECLICKED)) {
        Command1(id - kButtonId).userPress();
    } else if (id >= kListId && id < kListId + kLists && code == LBN_SELCHANGE) {
        List1(id - kListId).selectionChanged();
    } else if (id == IDOK && control == 0) {
        // Enter: the dialog manager asks for the default button, which this
        // window does not have; the focused button is pressed.
        if (const auto c = focusedControl(); c && c->kind == ControlKind::Button)
            Command1(c->index).userPress();
    }
}

void WinForm::activated(bool active, bool minimized)
{
    // Away and back: the focus returns to the control the pupil left.
    if (!active) {
        if (const auto c = focusedControl())
            left_ = c;
    } else if (!minimized) {
        giveFocus(left_);
    }
}

LRESULT CALLBACK WinForm::proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = fromUserData<WinForm>(hwnd);
    if (!self || !self->hwnd_)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT WinForm::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: command(LOWORD(wParam), HIWORD(wParam), lParam); return 0;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const auto id = static_cast<int>(item->CtlID);
        if (id >= kButtonId && id < kButtonId + kButtons) {
            Command1(id - kButtonId).draw(*item);
            return TRUE;
        }
        break;
    }
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        const HWND control = reinterpret_cast<HWND>(lParam);
        SetTextColor(dc, colorRef(kText));
        if (const auto c = controlOf(control); c && c->kind == ControlKind::Label) {
            const WinLabel& label = Label1(c->index);
            SetBkColor(dc, colorRef(label.colour()));
            return reinterpret_cast<LRESULT>(label.brush());
        }
        // The read-only text boxes.
        SetBkColor(dc, colorRef(kPaper));
        return reinterpret_cast<LRESULT>(white_);
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, colorRef(kText));
        SetBkColor(dc, colorRef(kPaper));
        return reinterpret_cast<LRESULT>(white_);
    }
    case WM_ERASEBKGND: {
        RECT r{};
        GetClientRect(hwnd_, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, background_);
        return 1;
    }
    case WM_DPICHANGED:
        // Moved to a monitor of another scale: the font, the places and the
        // surface's buffer follow it.
        dpi_ = HIWORD(wParam);
        {
            // The old font goes once no control uses it any more.
            HFONT old = std::exchange(font_, makeFont());
            layout(reinterpret_cast<const RECT*>(lParam));
            DeleteObject(old);
        }
        return 0;
    case WM_ACTIVATE: activated(LOWORD(wParam) != WA_INACTIVE, HIWORD(wParam) != 0); return 0;
    case WM_SETFOCUS:
        // The window itself never keeps the focus: it goes on to the control
        // that had it last, or where the form's rule says.
        if (const auto c = controlOf(reinterpret_cast<HWND>(wParam)))
            left_ = c;
        giveFocus(left_);
        return 0;
    case WM_CLOSE: DestroyWindow(hwnd_); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

} // namespace windows
