#pragma once

#include <QString>
#include <QStringList>

namespace tarvo {

// What the arguments ask of the program before any option letter is read.
enum class StartMode { Run, Help, Version };

// An argument that is exactly --help, -h or --version wins over the option letters, wherever it
// stands; the first such argument decides. Anything else, "--HELP" too, is left to the letters.
StartMode startMode(const QStringList& arguments);

// The text of --help: the option lines of the info dialog's help text, then the environment
// variables and exit codes. Ends with a line end.
QString usageText();

} // namespace tarvo
