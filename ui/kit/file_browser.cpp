#include "ui/kit/file_browser.h"

#include <imgui.h>
#include <imgui_stdlib.h>

#include <filesystem>

#include "ui/kit/keys.h"
#include "ui/kit/theme.h"
#include "ui/kit/widgets.h"

namespace rallinox::ui {

namespace fs = std::filesystem;

namespace {

const char* confirmLabel(FileDialogMode mode) {
    switch (mode) {
        case FileDialogMode::OpenFile: return "Open";
        case FileDialogMode::SaveFile: return "Save";
        case FileDialogMode::PickFolder: return "Choose this folder";
    }
    return "Open";
}

bool isFolder(const std::string& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

}  // namespace

FileBrowser::FileBrowser(FileDialogRequest request, const std::string& startFolder)
    : request_(std::move(request)), nameField_(request_.fileName) {
    enterFolder(isFolder(startFolder) ? startFolder : fs::current_path().string());
}

void FileBrowser::enterFolder(const std::string& folder) {
    folder_ = fs::path(folder).lexically_normal().string();
    if (folder_.size() > 1 && folder_.back() == '/') folder_.pop_back();
    folderField_ = folder_;
    listing_ = listFolder(folder_, activePatterns(), request_.mode == FileDialogMode::PickFolder);
    confirmReplace_ = false;
}

std::vector<std::string> FileBrowser::activePatterns() const {
    if (request_.filters.empty()) return {"*"};
    return request_.filters[static_cast<size_t>(filterIndex_)].patterns;
}

void FileBrowser::drawFolderBar() {
    if (ImGui::Button("Up")) enterFolder(fs::path(folder_).parent_path().string());
    ImGui::SameLine();
    ImGui::SetNextItemWidth(-1);
    if (ImGui::InputText("##folder", &folderField_, ImGuiInputTextFlags_EnterReturnsTrue)) {
        if (isFolder(folderField_)) {
            enterFolder(folderField_);
        } else {
            folderField_ = folder_;
        }
    }
}

void FileBrowser::drawEntries() {
    const float footer = ImGui::GetFrameHeightWithSpacing() * (request_.mode == FileDialogMode::PickFolder ? 1 : 2) +
                         ImGui::GetStyle().ItemSpacing.y * 2;
    ImGui::BeginChild("##entries", ImVec2(0, -footer), true);
    if (!listing_.error.empty()) mutedText("%s", listing_.error.c_str());
    std::string enter;
    for (const FolderEntry& entry : listing_.entries) {
        const std::string label = entry.isFolder ? entry.name + "/" : entry.name;
        const bool selected = !entry.isFolder && entry.name == nameField_;
        if (ImGui::Selectable(label.c_str(), selected, ImGuiSelectableFlags_AllowDoubleClick)) {
            if (entry.isFolder) {
                enter = (fs::path(folder_) / entry.name).string();
            } else {
                nameField_ = entry.name;
                confirmReplace_ = false;
                if (ImGui::IsMouseDoubleClicked(ImGuiMouseButton_Left)) confirm();
            }
        }
    }
    ImGui::EndChild();
    if (!enter.empty()) enterFolder(enter);
}

void FileBrowser::drawNameAndType() {
    if (request_.mode == FileDialogMode::PickFolder) return;
    const float typeWidth = request_.filters.empty() ? 0 : scaled(200);
    ImGui::SetNextItemWidth(-typeWidth - (typeWidth > 0 ? ImGui::GetStyle().ItemSpacing.x : 0));
    if (ImGui::InputTextWithHint("##name", "File name", &nameField_)) confirmReplace_ = false;
    if (request_.filters.empty()) return;
    ImGui::SameLine();
    ImGui::SetNextItemWidth(typeWidth);
    const char* current = request_.filters[static_cast<size_t>(filterIndex_)].name.c_str();
    if (ImGui::BeginCombo("##type", current)) {
        for (size_t i = 0; i < request_.filters.size(); ++i) {
            if (ImGui::Selectable(request_.filters[i].name.c_str(), static_cast<int>(i) == filterIndex_)) {
                filterIndex_ = static_cast<int>(i);
                enterFolder(folder_);
            }
        }
        ImGui::EndCombo();
    }
}

void FileBrowser::drawButtons() {
    if (confirmReplace_) {
        ImGui::TextColored(colors::kDangerHovered, "This file exists. Press Save again to replace it.");
        ImGui::SameLine();
    }
    const float buttonWidth = scaled(150);
    ImGui::SetCursorPosX(ImGui::GetWindowContentRegionMax().x - buttonWidth * 2 - ImGui::GetStyle().ItemSpacing.x);
    if (accentButton(confirmLabel(request_.mode), ImVec2(buttonWidth, 0))) confirm();
    ImGui::SameLine();
    if (ImGui::Button("Cancel", ImVec2(buttonWidth, 0)) || keyPressed(Key::Escape)) state_ = State::Cancelled;
}

void FileBrowser::confirm() {
    if (request_.mode == FileDialogMode::PickFolder) {
        chosenPath_ = folder_;
        state_ = State::Chosen;
        return;
    }
    if (nameField_.empty()) return;
    const std::string path = (fs::path(folder_) / nameField_).string();
    if (isFolder(path)) {
        enterFolder(path);
        nameField_.clear();
        return;
    }
    std::error_code error;
    const bool exists = fs::exists(path, error);
    if (request_.mode == FileDialogMode::OpenFile && !exists) return;
    if (request_.mode == FileDialogMode::SaveFile && exists && !confirmReplace_) {
        confirmReplace_ = true;
        return;
    }
    chosenPath_ = path;
    state_ = State::Chosen;
}

FileBrowser::State FileBrowser::draw() {
    const char* title = request_.title.c_str();
    if (!ImGui::IsPopupOpen(title)) ImGui::OpenPopup(title);
    const ImVec2 viewport = ImGui::GetMainViewport()->Size;
    ImGui::SetNextWindowSize(ImVec2(std::min(scaled(760), viewport.x * 0.9f), std::min(scaled(520), viewport.y * 0.9f)),
                             ImGuiCond_Appearing);
    centreNextDialog();
    if (ImGui::BeginPopupModal(title, nullptr, ImGuiWindowFlags_NoSavedSettings)) {
        drawFolderBar();
        drawEntries();
        drawNameAndType();
        drawButtons();
        if (state_ != State::Open) ImGui::CloseCurrentPopup();
        ImGui::EndPopup();
    }
    return state_;
}

}  // namespace rallinox::ui
