#pragma once

#include <QString>
#include <QStringList>

namespace tarvo {

// The option list shown in the info dialog, one entry per line, without line ends.
QStringList helpTextLines();

// The same lines, each ended with CR LF, as the info dialog holds and exports them.
QString helpText();

} // namespace tarvo
