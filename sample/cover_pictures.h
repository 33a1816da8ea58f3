#pragma once
#include <QString>

namespace sample {
// Writes the cover's skins (9l0050-9l0072) and the faces of its command
// buttons (l020NN normal, l021NN hover, l022NN pressed) into dataDir.
// Returns false with a message on failure.
bool writeCoverPictures(const QString& programDir, const QString& dataDir, QString* err);
}
