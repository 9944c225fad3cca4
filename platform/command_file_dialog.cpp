#include "platform/command_file_dialog.h"

#include <gio/gio.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

namespace rallinox {

namespace {

std::string joined(const std::vector<std::string>& parts, const char* separator) {
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : separator) + part;
    return text;
}

// The folder, or folder/name, the dialog starts in; empty when the folder does not exist.
std::string startLocation(const FileDialogRequest& request) {
    std::error_code error;
    if (request.startFolder.empty() || !std::filesystem::is_directory(request.startFolder, error)) {
        return request.fileName;
    }
    if (request.fileName.empty()) return request.startFolder;
    return (std::filesystem::path(request.startFolder) / request.fileName).string();
}

std::vector<std::string> zenityArguments(const FileDialogRequest& request) {
    std::vector<std::string> args{"zenity", "--file-selection", "--title=" + request.title};
    if (request.mode == FileDialogMode::SaveFile) {
        args.insert(args.end(), {"--save", "--confirm-overwrite"});
    }
    if (request.mode == FileDialogMode::PickFolder) args.push_back("--directory");
    const std::string start = startLocation(request);
    if (!start.empty()) {
        // zenity opens a folder only when the name ends with a slash.
        const bool isFolder = request.mode != FileDialogMode::SaveFile || request.fileName.empty();
        args.push_back("--filename=" + start + (isFolder && start.back() != '/' ? "/" : ""));
    }
    for (const FileFilter& filter : request.filters) {
        args.push_back("--file-filter=" + filter.name + " | " + joined(filter.patterns, " "));
    }
    return args;
}

std::vector<std::string> kdialogArguments(const FileDialogRequest& request) {
    std::vector<std::string> args{"kdialog", "--title", request.title};
    const std::string start = startLocation(request);
    switch (request.mode) {
        case FileDialogMode::OpenFile: args.push_back("--getopenfilename"); break;
        case FileDialogMode::SaveFile: args.push_back("--getsavefilename"); break;
        case FileDialogMode::PickFolder: args.push_back("--getexistingdirectory"); break;
    }
    args.push_back(start.empty() ? "." : start);
    if (request.mode != FileDialogMode::PickFolder && !request.filters.empty()) {
        std::vector<std::string> filters;
        for (const FileFilter& filter : request.filters) {
            filters.push_back(joined(filter.patterns, " ") + "|" + filter.name);
        }
        args.push_back(joined(filters, "\n"));
    }
    return args;
}

// Reads the child's answer until it ends; ends the child on a stop request.
bool readAnswer(int fd, GPid child, std::stop_token stop, std::string& answer) {
    char buffer[4096];
    while (true) {
        if (stop.stop_requested()) {
            kill(child, SIGTERM);
            return false;
        }
        pollfd readable{fd, POLLIN, 0};
        if (poll(&readable, 1, 100) <= 0) continue;
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0) return true;
        answer.append(buffer, static_cast<size_t>(got));
    }
}

DialogAnswer runProgram(const std::vector<std::string>& args, std::stop_token stop) {
    std::vector<gchar*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<gchar*>(arg.c_str()));
    argv.push_back(nullptr);
    GPid child = 0;
    int out = -1;
    GError* error = nullptr;
    const GSpawnFlags flags =
        static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD | G_SPAWN_STDERR_TO_DEV_NULL);
    if (!g_spawn_async_with_pipes(nullptr, argv.data(), nullptr, flags, nullptr, nullptr, &child, nullptr, &out,
                                  nullptr, &error)) {
        g_error_free(error);
        return {DialogOutcome::Unavailable, {}};
    }
    std::string answer;
    const bool finished = readAnswer(out, child, stop, answer);
    close(out);
    int status = 0;
    waitpid(child, &status, 0);
    g_spawn_close_pid(child);
    if (!finished) return {DialogOutcome::Cancelled, {}};
    if (!WIFEXITED(status)) return {DialogOutcome::Unavailable, {}};
    // 0 is an answer and 1 a cancel for both programs; anything else is a failure.
    if (WEXITSTATUS(status) == 1) return {DialogOutcome::Cancelled, {}};
    if (WEXITSTATUS(status) != 0) return {DialogOutcome::Unavailable, {}};
    while (!answer.empty() && answer.back() == '\n') answer.pop_back();
    if (answer.empty()) return {DialogOutcome::Cancelled, {}};
    return {DialogOutcome::Chosen, answer};
}

bool isInstalled(const char* program) {
    gchar* found = g_find_program_in_path(program);
    g_free(found);
    return found != nullptr;
}

}  // namespace

std::vector<std::string> dialogProgramArguments(DialogProgram program, const FileDialogRequest& request) {
    return program == DialogProgram::Zenity ? zenityArguments(request) : kdialogArguments(request);
}

DialogAnswer runCommandFileDialog(const FileDialogRequest& request, std::stop_token stop) {
    if (isInstalled("zenity")) return runProgram(dialogProgramArguments(DialogProgram::Zenity, request), stop);
    if (isInstalled("kdialog")) return runProgram(dialogProgramArguments(DialogProgram::Kdialog, request), stop);
    return {DialogOutcome::Unavailable, {}};
}

}  // namespace rallinox
