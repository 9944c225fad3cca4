#include "ui/projects/thumbnail_cache.h"

#include "platform/texture.h"

namespace rallinox::ui {

namespace {

void deleteThumbnail(Thumbnail& picture) {
    deleteTexture(picture.texture);
    picture = Thumbnail{};
}

}  // namespace

ThumbnailCache::ThumbnailCache(const ProjectStore& store) : store_(store) {}

ThumbnailCache::~ThumbnailCache() {
    for (auto& [id, entry] : entries_) deleteThumbnail(entry.picture);
}

void ThumbnailCache::uploadFinished() {
    for (ThumbnailPicture& finished : worker_.takeFinished()) {
        // A picture of a project dropped meanwhile is out of date.
        const auto it = entries_.find(finished.id);
        if (it == entries_.end() || finished.width <= 0 || finished.height <= 0) continue;
        const unsigned int texture = makeRgbaTexture(finished.width, finished.height, finished.rgba.data());
        if (!texture) continue;
        deleteThumbnail(it->second.picture);
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
    deleteThumbnail(it->second.picture);
    entries_.erase(it);
}

}  // namespace rallinox::ui
