#pragma once

class QWidget;

namespace tarvo {

// Keeps a top-level window above the others through the window manager's _NET_WM_STATE, without
// touching Qt's window flags: Qt re-creates a native X window whose stays-on-top flag has changed
// the next time it is shown, which would give Tarvo's window a new identity after every trip to the
// tray. Returns false where the program does not run on X11.
bool setX11KeepAbove(QWidget* window, bool above);

} // namespace tarvo
