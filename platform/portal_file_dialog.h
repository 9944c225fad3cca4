// The desktop portal's FileChooser (org.freedesktop.portal.FileChooser)
// over D-Bus: the dialog of the user's own desktop, also inside sandboxes.
#pragma once

#include <stop_token>

#include "platform/file_dialog_request.h"

namespace rallinox {

// Blocks until the user answers or a stop is requested (the dialog is then
// closed). Unavailable when no portal answers the call.
DialogAnswer runPortalFileDialog(const FileDialogRequest& request, std::stop_token stop);

}  // namespace rallinox
