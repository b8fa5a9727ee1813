#pragma once

#include <QStringList>

namespace tarvo {

// The arguments Tarvo reads its option letters from: what Qt left once QApplication took its own
// options (QCoreApplication::arguments() without the program), less what Qt left of them. Qt takes
// the X11 options (-display, -geometry, -title, ...) only on xcb, and leaves an option whose value
// is missing; none of these may ever be read as letters ("-display" holds S, L, A and Y).
QStringList withoutQtOptions(const QStringList& arguments);

} // namespace tarvo
