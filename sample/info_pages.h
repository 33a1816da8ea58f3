#pragma once
#include <QImage>
#include <QString>

namespace sample {
// The information pages 9l0001-9l0017 (798 x 545 pixels): an introduction
// to the exam (1-8), its syllabus (9-12), instructions for the program
// (13-16, the input-method help on 16) and the other modules (17, one frame
// per launcher row). Every page draws the back and forward buttons.
QImage infoPage(int page);
bool writeInfoPages(const QString& dataDir, QString* err);
}
