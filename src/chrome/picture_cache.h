#pragma once
// Chrome pictures (hover and pressed looks, drop-downs, submenus, row
// highlights, extra pictures) read once: the picture folder is read-only
// while the program runs, so every file is read at its first use and the
// outcome kept, a missing one too (reported once). Hovering never reads a
// file twice.
#include <QString>
#include <functional>
#include <optional>
#include <unordered_map>

#include "core/pictures.h"

namespace chrome {

class ChromePictureCache {
public:
    using Loader = std::function<std::optional<core::Picture>(const QString& path)>;
    // The picture of a file, or nullopt when it is missing or no picture.
    std::optional<core::Picture> get(const QString& path);
    // Forgets every outcome (tests, another picture folder).
    void clear() { cache_.clear(); }
    // Replaces how a file is read (tests count the reads); empty for the
    // program's picture store.
    void setLoader(Loader loader) { loader_ = std::move(loader); }

private:
    Loader loader_;
    std::unordered_map<QString, std::optional<core::Picture>> cache_;
};

ChromePictureCache& chromePictures();

// The chrome picture `code` of a window's picture folder.
std::optional<core::Picture> chromePicture(const QString& examDataPath, const QString& code);

} // namespace chrome
