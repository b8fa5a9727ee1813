#pragma once

#include <QString>

namespace tarvo {

// The Qt platform Tarvo asks for when the environment leaves the choice open: "xcb" in a Wayland
// session that has XWayland (DISPLAY set), where Qt would pick native Wayland. Only there can a
// window bring itself back from the taskbar, stay above the others and keep its rounded shape.
// Empty: leave it to Qt (QT_QPA_PLATFORM given, wayland included, or no Wayland session).
QString preferredPlatform(
    const QString& qpaPlatform, const QString& sessionType, const QString& waylandDisplay, const QString& display);

// Applies preferredPlatform to this process's environment before QApplication exists. Returns true
// when it set QT_QPA_PLATFORM, which is then to be unset once QApplication has read it, so that
// the programs Tarvo opens (the browser, the text editor) choose for themselves.
bool preferXWayland();

} // namespace tarvo
