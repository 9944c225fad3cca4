// PLACEHOLDER until the real panel lands.
#include "ui/editor_keys.h"

#include <imgui.h>

#include "app/app.h"

namespace rallinox::ui {

void handleEditorKeys(App&) {}
void goToNextRally(App&) {}
void goToPreviousRally(App&) {}

}  // namespace rallinox::ui
