#include "ui/kit/file_dialogs.h"

#include <imgui.h>

#include <cstdlib>
#include <filesystem>

#include "platform/command_file_dialog.h"
#include "platform/frame_wake.h"
#include "platform/portal_file_dialog.h"
#include "ui/kit/file_browser.h"
#include "ui/kit/file_patterns.h"
#include "ui/kit/theme.h"
#include "ui/kit/widgets.h"

namespace rallinox::ui {

namespace fs = std::filesystem;

namespace {

constexpr const char* kWaitingPopup = "##desktopDialog";

DialogAnswer runDesktopDialog(const FileDialogRequest& request, std::stop_token stop) {
    DialogAnswer answer = runPortalFileDialog(request, stop);
    if (answer.outcome == DialogOutcome::Unavailable) answer = runCommandFileDialog(request, stop);
    return answer;
}

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    return home ? home : "/";
}

}  // namespace

FileDialogs::FileDialogs(Backends backends) : backends_(backends), lastFolder_(homeFolder()) {}

FileDialogs::~FileDialogs() = default;  // the jthread asks the dialog to stop and joins

void FileDialogs::chooseVideoFile(OnChosen onChosen) {
    FileDialogRequest request;
    request.mode = FileDialogMode::OpenFile;
    request.title = "Choose a match video";
    request.filters = {{"Videos", splitPatterns("*.mp4;*.mov;*.m4v;*.mkv;*.avi;*.mts;*.wmv")}, {"All files", {"*"}}};
    request.startFolder = lastFolder_;
    open(std::move(request), std::move(onChosen));
}

void FileDialogs::chooseFolder(const std::string& start, OnChosen onChosen) {
    FileDialogRequest request;
    request.mode = FileDialogMode::PickFolder;
    request.title = "Choose a folder";
    request.startFolder = start;
    open(std::move(request), std::move(onChosen));
}

void FileDialogs::chooseSaveFile(const std::string& startFolder, const std::string& fileName,
                                 const std::string& typeName, const std::string& pattern,
                                 const std::string& defaultExtension, OnChosen onChosen) {
    FileDialogRequest request;
    request.mode = FileDialogMode::SaveFile;
    request.title = "Save as";
    request.filters = {{typeName, splitPatterns(pattern)}};
    request.startFolder = startFolder;
    request.fileName = fileName;
    request.defaultExtension = defaultExtension;
    open(std::move(request), std::move(onChosen));
}

void FileDialogs::open(FileDialogRequest request, OnChosen onChosen) {
    if (isOpen()) return;
    request_ = std::move(request);
    onChosen_ = std::move(onChosen);
    if (backends_ == Backends::InAppOnly) {
        browser_ = std::make_unique<FileBrowser>(*request_, request_->startFolder);
        return;
    }
    desktopAnswer_.reset();
    desktopDialog_ = std::jthread([this, desktopRequest = *request_](std::stop_token stop) {
        DialogAnswer answer = runDesktopDialog(desktopRequest, stop);
        std::lock_guard lock(answerMutex_);
        desktopAnswer_ = std::move(answer);
        wakeFrameLoop();
    });
}

std::optional<DialogAnswer> FileDialogs::takeDesktopAnswer() {
    std::lock_guard lock(answerMutex_);
    std::optional<DialogAnswer> answer = std::move(desktopAnswer_);
    desktopAnswer_.reset();
    return answer;
}

void FileDialogs::deliver(const std::string& path) {
    const std::string chosen = withDefaultExtension(path, request_->defaultExtension);
    lastFolder_ = request_->mode == FileDialogMode::PickFolder ? chosen : fs::path(chosen).parent_path().string();
    OnChosen onChosen = std::move(onChosen_);
    request_.reset();
    onChosen(chosen);
}

void FileDialogs::drawWaitingNote(bool stillWaiting) {
    if (stillWaiting && !ImGui::IsPopupOpen(kWaitingPopup)) ImGui::OpenPopup(kWaitingPopup);
    centreNextDialog();
    if (ImGui::BeginPopupModal(kWaitingPopup, nullptr,
                               ImGuiWindowFlags_NoTitleBar | ImGuiWindowFlags_AlwaysAutoResize |
                                   ImGuiWindowFlags_NoSavedSettings)) {
        ImGui::TextUnformatted(request_->title.c_str());
        mutedText("The dialog is open in its own window.");
        if (!stillWaiting) ImGui::CloseCurrentPopup();
        ImGui::EndPopup();
    }
}

void FileDialogs::draw() {
    if (!request_) return;
    if (browser_) {
        const FileBrowser::State state = browser_->draw();
        if (state == FileBrowser::State::Open) return;
        const std::string chosen = browser_->chosenPath();
        browser_.reset();
        if (state == FileBrowser::State::Chosen) {
            deliver(chosen);
        } else {
            request_.reset();
        }
        return;
    }
    std::optional<DialogAnswer> answer = takeDesktopAnswer();
    drawWaitingNote(!answer);
    if (!answer) return;
    desktopDialog_.join();
    switch (answer->outcome) {
        case DialogOutcome::Chosen: deliver(answer->path); break;
        case DialogOutcome::Cancelled: request_.reset(); break;
        case DialogOutcome::Unavailable:
            browser_ = std::make_unique<FileBrowser>(*request_, request_->startFolder);
            break;
    }
}

}  // namespace rallinox::ui
