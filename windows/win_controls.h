#pragma once
// The Windows edition's controls on the Win32 API (Unicode throughout).
//
// WinForm builds the window from a ui::FormDesign: every control at its
// place, scaled from twips to the monitor's pixels, with the design's font,
// colours, texts and tab order. Labels are static controls painted in their
// background colour, the lists are list boxes, the buttons are owner-drawn in
// their colours, the text boxes are read-only multi-line edit controls and
// the drawing surface is a child window that shows the shared raster's
// buffer at the monitor's scale. Each user event runs its handler as an
// event of the form (ui::FormCore), which pushes the text boxes' texts to
// their controls once the outermost handler has ended. The dialog manager
// (IsDialogMessage) moves the focus with Tab and Shift+Tab; Enter and Space
// press the focused button; the focus follows the form's rule when a
// control is disabled and comes back to the control the pupil left when the
// window is activated again.

#include "ui/controls.h"
#include "ui/form_core.h"
#include "ui/form_layout.h"
#include "ui/kept_text.h"
#include "ui/raster/raster_picture.h"
#include "ui/row_list.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace windows {

// The core's form, controls, design and drawing surface, which this edition
// maps onto its toolkit.
using namespace ui;

class WinForm;

// UTF-8 <-> UTF-16.
std::wstring widen(const std::string& text);
std::string narrow(const std::wstring& text);

// The program's CR LF text as a multi-line edit control shows it: a lone
// line feed or carriage return becomes CR LF as well.
std::wstring toEditText(const std::string& text);

// The decimal separator for number text from the user's setting (the value
// of LOCALE_SDECIMAL): empty, overlong or with a digit, sign, letter E or
// line break it could not be told from the number, so the full stop is used.
std::string decimalSeparatorFrom(const std::wstring& setting);
// The user's decimal separator (GetLocaleInfoEx, LOCALE_SDECIMAL).
std::string userDecimalSeparator();

// Ctrl+A in a multi-line edit control selects the whole text (Windows' own
// control does it only in single-line ones). True when the key was handled.
bool selectAllOnCtrlA(HWND edit, UINT message, WPARAM key, bool ctrl, bool alt);

// The drawing surface: a child window with a sunken two-pixel frame around
// the shared pixel buffer, which it shows one to one at the monitor's scale.
class WinPicture final : public raster::RasterPicture {
public:
    WinPicture(WinForm& form, HWND parent, int id);
    WinPicture(const WinPicture&) = delete;
    WinPicture& operator=(const WinPicture&) = delete;

    HWND hwnd() const { return hwnd_; }
    // The logical pixel of the drawing area under a client point in device
    // pixels; false on the frame.
    bool logicalPixel(int deviceX, int deviceY, int& x, int& y) const;
    // The buffer at the window's size and the monitor's scale.
    void fit(double scale);
    static void registerClass(HINSTANCE instance);

protected:
    void changed() override;

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    void press(int deviceX, int deviceY, std::int16_t button, WPARAM keys);
    int deviceBorder() const;

    WinForm& form_;
    HWND hwnd_ = nullptr;
    double scale_ = 1.0;
};

// A list box: the rows, the selection and the click rules of ui::RowList,
// shown in the control; the control tells of the user's presses and
// selections.
class WinList final : public RowList {
public:
    WinList(WinForm& form, HWND parent, int id);
    WinList(const WinList&) = delete;
    WinList& operator=(const WinList&) = delete;

    HWND hwnd() const { return hwnd_; }
    // The list box told its parent that the user changed the selection.
    void selectionChanged();

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data);
    void changed() override;
    // The text of a row as the control shows it.
    std::wstring shown(int row) const;

    HWND hwnd_ = nullptr;
};

// A read-only multi-line text box. It keeps the exact text it was given
// (CR LF lines) and shows it in the control.
class WinText final : public KeptText {
public:
    WinText(WinForm& form, HWND parent, int id);
    WinText(const WinText&) = delete;
    WinText& operator=(const WinText&) = delete;

    HWND hwnd() const { return hwnd_; }

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data);
    void textKept() override;
    void display(const std::string& text) override;

    WinForm& form_;
    HWND hwnd_ = nullptr;
};

class WinButton final : public FormButton {
public:
    WinButton(WinForm& form, int index, HWND parent, int id, Rgb colour);
    WinButton(const WinButton&) = delete;
    WinButton& operator=(const WinButton&) = delete;

    HWND hwnd() const { return hwnd_; }
    void draw(const DRAWITEMSTRUCT& item) const;

private:
    void showEnabled(bool on) override;

    WinForm& form_;
    HWND hwnd_ = nullptr;
    Rgb colour_;
};

class WinLabel final : public Label {
public:
    WinLabel(HWND parent, int id, const std::string& caption, Rgb colour);
    std::string caption() const override { return caption_; }

    HWND hwnd() const { return hwnd_; }
    HBRUSH brush() const { return brush_.get(); }
    Rgb colour() const { return colour_; }

private:
    struct DeleteBrush {
        void operator()(HBRUSH b) const { DeleteObject(b); }
    };
    HWND hwnd_ = nullptr;
    std::string caption_;
    Rgb colour_;
    std::unique_ptr<std::remove_pointer_t<HBRUSH>, DeleteBrush> brush_;
};

class WinForm final : public FormOf<WinPicture, WinList, WinText, WinButton, WinLabel> {
public:
    // Creates the window (hidden) with its controls from the design; the
    // icon of the title bar and the taskbar at their own sizes.
    WinForm(FormDesign design, HINSTANCE instance, HICON icon = nullptr, HICON smallIcon = nullptr);
    ~WinForm() override;
    WinForm(const WinForm&) = delete;
    WinForm& operator=(const WinForm&) = delete;

    HWND hwnd() const { return hwnd_; }
    // Shows the window with the keyboard focus in the first control of the
    // tab order.
    void show(int showCommand);
    // The message loop; returns the exit code.
    int run();
    // One message of the loop: the dialog manager's keys first (Tab,
    // Shift+Tab, Enter), then the window's own.
    void deliver(MSG& msg);

    // How a failure is reported: by default a message box over the window.
    void onFailure(std::function<void(const std::string&)> report) { report_ = std::move(report); }

    // The monitor's scale: 1 at 96 dots per inch.
    double scale() const { return static_cast<double>(dpi_) / USER_DEFAULT_SCREEN_DPI; }
    // A design length in twips as pixels at the monitor's scale.
    int pixels(int twips) const { return MulDiv(twips, static_cast<int>(dpi_), kTwipsPerPixel * 96); }

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    // Places the window and every control for the current DPI.
    void layout(const RECT* suggested);
    // The design's font at the current DPI.
    HFONT makeFont() const;

    std::optional<ControlRef> focusedControl() override;
    void focusControl(ControlRef c) override;
    void showControl(ControlRef c, bool on) override;
    void reportFailure(const std::string& what) override;
    // The control of a window, if it is one of the form's.
    std::optional<ControlRef> controlOf(HWND window) const;
    HWND windowOf(ControlRef c) const;
    // A control's command (WM_COMMAND): a press, a selection, Enter.
    void command(int id, int code, LPARAM control);
    // The window is activated or deactivated (WM_ACTIVATE).
    void activated(bool active, bool minimized);

    FormDesign design_;
    HWND hwnd_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    HFONT font_ = nullptr;
    HBRUSH background_ = nullptr;
    HBRUSH white_ = nullptr;
    // The controls with their designs, in tab order.
    std::vector<std::pair<HWND, const ControlDesign*>> placed_;
    // The control that had the focus when the window was last deactivated.
    std::optional<ControlRef> left_;
    std::function<void(const std::string&)> report_;
};

} // namespace windows
