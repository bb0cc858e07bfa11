// Start-up of the Windows edition: the window built from its design, the
// window's logic wired to it, then Form_Load before any user event, and the
// message loop.

#include "app/layout.h"
#include "app/trivyrhnik.h"
#include "windows/accessible.h"
#include "windows/resource.h"
#include "windows/win_controls.h"

#include <commctrl.h>

#include <exception>

// The system declares it with these parameter names.
int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, PWSTR /*lpCmdLine*/, int nShowCmd)
{
    try {
        // Screen readers get the controls' objects through COM.
        windows::ComApartment com;
        // The common controls of version 6, which the manifest asks for.
        INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);

        // The decimal separator of the user's regional settings.
        geometry::NumberFormat format;
        format.decimalSeparator = windows::userDecimalSeparator();

        // The icon's images of the sizes the system shows, not one scaled.
        const auto loadIcon = [hInstance](int size) {
            return static_cast<HICON>(
                LoadImageW(hInstance, MAKEINTRESOURCEW(IDI_TRIVYRHNIK), IMAGE_ICON, size, size, LR_SHARED));
        };
        windows::WinForm form(app::trivyrhnikDesign(), hInstance, loadIcon(GetSystemMetrics(SM_CXICON)),
                              loadIcon(GetSystemMetrics(SM_CXSMICON)));
        app::Trivyrhnik window(form, format);
        form.dispatch([&] { window.Form_Load(); });
        form.show(nShowCmd);
        return form.run();
    } catch (const std::exception& failure) {
        // Only a fault of the program itself while the window is made comes
        // here; the handlers' own are reported by the form.
        MessageBoxW(nullptr, windows::widen(failure.what()).c_str(), L"Триъгълник", MB_ICONERROR | MB_OK);
        return 1;
    } catch (...) {
        MessageBoxW(nullptr, L"Програмна грешка.", L"Триъгълник", MB_ICONERROR | MB_OK);
        return 1;
    }
}
