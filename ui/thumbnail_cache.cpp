#include "ui/thumbnail_cache.h"

#include <SDL_opengl.h>

namespace rallinox::ui {

namespace {

void deleteTexture(Thumbnail& picture) {
    if (picture.texture) glDeleteTextures(1, &picture.texture);
    picture = Thumbnail{};
}

}  // namespace

ThumbnailCache::ThumbnailCache(const ProjectStore& store) : store_(store) {}

ThumbnailCache::~ThumbnailCache() {
    for (auto& [id, entry] : entries_) deleteTexture(entry.picture);
}

void ThumbnailCache::uploadFinished() {
    for (ThumbnailPicture& finished : worker_.takeFinished()) {
        // A picture of a project dropped meanwhile is out of date.
        const auto it = entries_.find(finished.id);
        if (it == entries_.end() || finished.width <= 0 || finished.height <= 0) continue;
        GLuint texture = 0;
        glGenTextures(1, &texture);
        if (!texture) continue;
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, finished.width, finished.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     finished.rgba.data());
        deleteTexture(it->second.picture);
        it->second.picture = {texture, finished.width, finished.height};
    }
}

const Thumbnail* ThumbnailCache::textureFor(const Project& project) {
    uploadFinished();
    Entry& entry = entries_[project.id];
    if (!entry.requested && project.state == ProjectState::Ready) {
        entry.requested = true;
        worker_.request({project.id, project.videoPath, store_.thumbnailFile(project.id), thumbnailTimeSec(project)});
    }
    return entry.picture.texture ? &entry.picture : nullptr;
}

void ThumbnailCache::drop(const std::string& id) {
    const auto it = entries_.find(id);
    if (it == entries_.end()) return;
    deleteTexture(it->second.picture);
    entries_.erase(it);
}

}  // namespace rallinox::ui
