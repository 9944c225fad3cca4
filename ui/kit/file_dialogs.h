// The file and folder dialogs of the application. The desktop's own dialog
// (the portal, else zenity or kdialog) runs beside the GUI so the window keeps
// drawing; without one, the in-app browser is shown. Only one dialog is open
// at a time; the answer is handed over during a later frame.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/file_dialog_request.h"

namespace rallinox::ui {

class FileBrowser;

class FileDialogs {
public:
    enum class Backends { Desktop, InAppOnly };
    // Called on the GUI thread with the chosen path; not called on cancel.
    using OnChosen = std::function<void(const std::string& path)>;

    explicit FileDialogs(Backends backends = Backends::Desktop);
    // Ends a desktop dialog that is still open and waits for it.
    ~FileDialogs();
    FileDialogs(const FileDialogs&) = delete;
    FileDialogs& operator=(const FileDialogs&) = delete;

    // "Choose a match video": videos first, then all files.
    void chooseVideoFile(OnChosen onChosen);
    void chooseFolder(const std::string& start, OnChosen onChosen);
    // One file type (typeName with the ';'-separated pattern); the default
    // extension is added when the chosen name has none.
    void chooseSaveFile(const std::string& startFolder, const std::string& fileName, const std::string& typeName,
                        const std::string& pattern, const std::string& defaultExtension, OnChosen onChosen);

    bool isOpen() const { return request_.has_value(); }
    // Once per frame: draws the in-app browser or the waiting note, and
    // delivers a finished answer.
    void draw();

private:
    void open(FileDialogRequest request, OnChosen onChosen);
    void deliver(const std::string& path);
    void drawWaitingNote(bool stillWaiting);
    std::optional<DialogAnswer> takeDesktopAnswer();

    Backends backends_;
    std::optional<FileDialogRequest> request_;
    OnChosen onChosen_;
    std::string lastFolder_;
    std::unique_ptr<FileBrowser> browser_;
    std::mutex answerMutex_;
    std::optional<DialogAnswer> desktopAnswer_;
    std::jthread desktopDialog_;
};

}  // namespace rallinox::ui
