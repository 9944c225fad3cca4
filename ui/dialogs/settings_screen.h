// The settings screen: paddings of rally detection, the export folder and
// the export options.
#pragma once

namespace rallinox {
struct DataPaths;
struct Settings;
}  // namespace rallinox

namespace rallinox::ui {

class AppActions;
class FileDialogs;

// Every change is saved at once.
void drawSettingsScreen(Settings& settings, const DataPaths& paths, FileDialogs& fileDialogs, AppActions& actions);

}  // namespace rallinox::ui
