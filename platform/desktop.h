// Handing files and folders to the desktop: the default application and
// the file manager. Both calls wait for the desktop's answer, for seconds at
// worst: the window calls them through DesktopRequests.
#pragma once

#include <string>

namespace rallinox {

// Opens a file or folder with its default application (xdg-open); false
// when no opener could be started or it reported that it could not open it.
bool shellOpen(const std::string& path);

// Shows the item selected in the file manager when one answers on D-Bus,
// else opens the folder that holds it.
bool showInFolder(const std::string& path);

}  // namespace rallinox
