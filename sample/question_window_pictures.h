#pragma once
// Pictures of the sample module that the question window shows: the faces of
// its eleven function buttons, normal ("l012NN"), hover ("l011NN") and
// pressed ("l010NN").
#include <QImage>
#include <QString>

namespace sample {

enum class FaceState { Normal, Hover, Pressed };

// The face of function button `index` (0..10).
QImage functionFace(int index, FaceState state);

// Writes every face into dataDir. Returns false with a message on failure.
bool writeQuestionWindowPictures(const QString& programDir, const QString& dataDir, QString* err);

} // namespace sample
