#include "chrome/picture_cache.h"

#include <QtGlobal>

#include "chrome/zones.h"

namespace chrome {

std::optional<core::Picture> ChromePictureCache::get(const QString& path) {
    auto it = cache_.find(path);
    if (it != cache_.end()) return it->second;
    std::optional<core::Picture> p = loader_ ? loader_(path) : core::pictureStore().load(path);
    if (!p) qWarning("menu picture missing or unreadable: %s", qUtf8Printable(path));
    cache_.emplace(path, p);
    return p;
}

ChromePictureCache& chromePictures() {
    static ChromePictureCache cache;
    return cache;
}

std::optional<core::Picture> chromePicture(const QString& examDataPath, const QString& code) {
    return chromePictures().get(chromePictureFile(examDataPath, code));
}

} // namespace chrome
