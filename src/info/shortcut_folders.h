#pragma once

#include <functional>

#include <QString>

namespace tarvo {

// The folders launchers go into. Each ends without a separator; an empty one means none was found.

// The user's desktop, as the XDG user directories name it; created when it does not exist yet.
QString desktopFolder();

// The menu for all users: the "applications" folder of the first system data directory
// ($XDG_DATA_DIRS) that can take a file, else the user's own ($XDG_DATA_HOME/applications).
QString systemMenuFolder();

// The choice behind systemMenuFolder. dataDirs is $XDG_DATA_DIRS as set (empty: the standard
// /usr/local/share:/usr/share); canWrite tells whether a file can be put into a folder.
QString chooseMenuFolder(const QString& dataDirs, const QString& userApplications,
                         const std::function<bool(const QString&)>& canWrite);

} // namespace tarvo
