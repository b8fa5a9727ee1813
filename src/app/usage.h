#pragma once

#include <QString>
#include <QStringList>

namespace tarvo {

// What the arguments ask of the program before any option letter is read.
enum class StartMode { Run, Help, Version, Remote };

// An argument that is exactly --help, -h, --version, --status, --cancel or --add (or --add=N) wins
// over the option letters, wherever it stands; the first such argument decides (Remote for the last
// three, see app/remote_command.h). Anything else, "--HELP" too, is left to the letters.
StartMode startMode(const QStringList& arguments);

// The text of --help: the option lines of the info dialog's help text, then the environment
// variables and exit codes. Ends with a line end.
QString usageText();

} // namespace tarvo
