// A file and folder dialog drawn with the GUI itself, for desktops where
// neither the portal nor a dialog program answers.
#pragma once

#include <string>

#include "platform/file_dialog_request.h"
#include "ui/kit/folder_listing.h"

namespace rallinox::ui {

class FileBrowser {
public:
    enum class State { Open, Chosen, Cancelled };

    FileBrowser(FileDialogRequest request, const std::string& startFolder);

    // Draws the modal dialog; call every frame while it is Open.
    State draw();
    const std::string& chosenPath() const { return chosenPath_; }

private:
    void enterFolder(const std::string& folder);
    void drawFolderBar();
    void drawEntries();
    void drawNameAndType();
    void drawButtons();
    void confirm();
    std::vector<std::string> activePatterns() const;

    FileDialogRequest request_;
    std::string folder_;
    std::string folderField_;
    std::string nameField_;
    int filterIndex_ = 0;
    FolderListing listing_;
    bool confirmReplace_ = false;
    std::string chosenPath_;
    State state_ = State::Open;
};

}  // namespace rallinox::ui
