#include "chrome_pictures.h"

#include <QDir>
#include <QImage>

#include "chrome/design_pictures.h"
#include "chrome/zones.h"

namespace sample {

namespace {

bool save(const QImage& img, const QString& dir, const QString& code, QString* err) {
    const QString path = chrome::chromePictureFile(dir + "/", code);
    if (img.isNull() || !img.save(path, "BMP")) {
        if (err) *err = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    return true;
}

} // namespace

bool writeChromePictures(const QString& examdataDir, QString* err) {
    if (!QDir().mkpath(examdataDir)) {
        if (err) *err = QStringLiteral("cannot create %1").arg(examdataDir);
        return false;
    }
    for (int i = 1; i <= 99; ++i) {
        if (!chrome::barPictureOf(i)) continue;
        if (!save(chrome::hotSpotPicture(i, chrome::Look::Hover), examdataDir, chrome::hoverPictureCode(i), err))
            return false;
        if (!save(chrome::hotSpotPicture(i, chrome::Look::Pressed), examdataDir, chrome::pressedPictureCode(i), err))
            return false;
    }
    return save(chrome::chartToolbarPicture(), examdataDir, chrome::chartToolbarPictureCode(), err);
}

} // namespace sample
