#pragma once
// What a screen reader gets from the Windows controls (Microsoft Active
// Accessibility, which UI Automation also reads for Win32 controls).
//
// Each control answers WM_GETOBJECT for its client area with the system's
// standard object for its window, wrapped so that the control's own name,
// description and role are the design's: the names and descriptions that
// the desktop and the page give their screen readers, and a role for the
// drawing surface, a window of the program's own class that Windows knows
// nothing about. Everything else (value, state, rows, places, actions) stays
// the standard object's.

#include "ui/form_layout.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

namespace windows {

// The core's form, controls, design and drawing surface, which this edition
// maps onto its toolkit.
using namespace ui;

// What a control tells a screen reader about itself.
struct AccessibleText {
    std::wstring name;
    std::wstring description; // empty: the standard object's
    long role = 0; // ROLE_SYSTEM_...
};

// The role of a control of this kind: the surface is a graphic.
long accessibleRole(ControlKind kind);
// The name, description and role of a control from its design.
AccessibleText accessibleText(const ControlDesign& design);

// From now until the window is destroyed, hwnd gives screen readers the
// design's name, description and role (it answers WM_GETOBJECT). Works on
// any window of this thread, the system's controls too.
void makeAccessible(HWND hwnd, const ControlDesign& design);

// The answer to WM_GETOBJECT for the client area of hwnd: the standard
// object with the given text, passed through LresultFromObject; 0 where it
// could not be made, so that the system answers.
LRESULT answerGetObject(HWND hwnd, WPARAM flags, const AccessibleText& text);

// COM on the user-interface thread (single-threaded apartment), which the
// objects that answer WM_GETOBJECT are handed out through; for as long as it
// lives.
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_ = false;
};

} // namespace windows
