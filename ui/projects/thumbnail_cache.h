// The pictures on the project cards as textures of the GUI: requested once
// per run for each analysed project, made by the worker thread and uploaded
// here, on the GUI thread, as soon as they are finished.
#pragma once

#include <map>
#include <string>

#include "app/core/project.h"
#include "app/core/project_store.h"
#include "app/jobs/thumbnail_worker.h"

namespace rallinox::ui {

struct Thumbnail {
    unsigned texture = 0;  // see platform/texture.h
    int width = 0;
    int height = 0;
};

class ThumbnailCache {
public:
    explicit ThumbnailCache(const ProjectStore& store);
    // Frees the textures; needs the back end's window still open.
    ~ThumbnailCache();
    ThumbnailCache(const ThumbnailCache&) = delete;
    ThumbnailCache& operator=(const ThumbnailCache&) = delete;

    // Every frame for each visible card; null while there is no picture.
    const Thumbnail* textureFor(const Project& project);
    // Forgets the picture, so that the next request makes a new one.
    void drop(const std::string& id);

private:
    struct Entry {
        Thumbnail picture;
        bool requested = false;
    };

    void uploadFinished();

    const ProjectStore& store_;
    std::map<std::string, Entry> entries_;
    ThumbnailWorker worker_;
};

}  // namespace rallinox::ui
