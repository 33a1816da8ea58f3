// Pictures loaded by their content whatever their name, and cursor files
// with their hot spot.
#include "core/pictures.h"
#include "fuzz_support.h"

using namespace core;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quiet();
    fuzz::guiApp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray in = fuzz::bytes(data, size);
    const QString path = fuzz::scratch() + "/310001.rar";
    fuzz::writeFile(path, in);

    PictureStore store;
    PictureStatus status = PictureStatus::NotFound;
    const auto pic = store.load(path, &status);
    if (pic) {
        FUZZ_CHECK(status == PictureStatus::Ok);
        FUZZ_CHECK(!pic->isNull() && pic->widthPixels() > 0 && pic->heightPixels() > 0);
        // A second load is the cached picture (one larger than the whole
        // cache is never kept).
        if (pic->image().sizeInBytes() <= PictureStore::kDefaultCacheLimit) FUZZ_CHECK(store.load(path) == pic);
    } else {
        FUZZ_CHECK(status == PictureStatus::Invalid);
        bool threw = false;
        pictureStore().clear();
        try {
            (void)loadPictureOrThrow(path);
        } catch (const std::exception&) {
            threw = true;
        }
        FUZZ_CHECK(threw);
    }

    // A cursor's hot spot lies inside its image.
    const CursorImage c = readCursorData(in);
    if (c.ok) {
        FUZZ_CHECK(!c.image.isNull());
        FUZZ_CHECK(c.hotX >= 0 && c.hotX < c.image.width());
        FUZZ_CHECK(c.hotY >= 0 && c.hotY < c.image.height());
    }
    const CursorImage f = readCursorFile(path);
    if (in.size() <= (4 << 20)) FUZZ_CHECK(f.ok == c.ok);
    return 0;
}
