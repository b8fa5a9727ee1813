#pragma once

#include <QString>
#include <QStringList>

namespace tarvo {

// A launcher for Tarvo: a freedesktop desktop entry, Linux's counterpart of a shell link.
struct Shortcut {
    QString target;           // the program to start, an absolute path
    QString linkPath;         // where the entry goes; see withEntryExtension
    QStringList arguments;    // none when empty
    QString description;      // Comment; none when empty
    QString workingDirectory; // Path; none when empty
};

// The file name of a launcher: ".desktop" is appended unless the name already ends in "desktop" or,
// as a quoted name, in `desktop"` (either case).
QString withEntryExtension(const QString& linkPath);

// One word of an Exec line: quoted and escaped as the Desktop Entry rules ask when it holds a
// reserved character, with every "%" doubled.
QString execWord(const QString& word);

// The whole entry file, UTF-8 text with LF line ends. Its Name is the launcher's file name without
// ".desktop".
QString desktopEntryText(const Shortcut& shortcut);

// Writes the entry (replacing an older one) to withEntryExtension(linkPath); a launcher meant to be
// double-clicked in a file manager is made executable. False when it could not be written.
bool writeDesktopEntry(const Shortcut& shortcut, bool executable);

} // namespace tarvo
