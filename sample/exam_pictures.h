#pragma once
// Pages of the mock exam: the login page (9l0056), the confirmation page with
// its progress strip (9l0057) and the score page (9l0058), 800 x 600 pixels,
// with the fields and buttons drawn where the windows lay their entries and
// hot areas.
#include <QImage>
#include <QString>

namespace sample {

QImage loginPage();
QImage confirmationPage();
QImage scorePage();

// Writes the three pages into dataDir. Returns false with a message on
// failure.
bool writeExamPictures(const QString& dataDir, QString* err);

} // namespace sample
