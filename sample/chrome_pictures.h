#pragma once
// Pictures of the simulated menus and toolbars that the module's picture
// folder holds: the hover and pressed looks of the main hot-spots and the
// chart toolbar.
#include <QString>

namespace sample {

// Writes NN0088.rar and NN0099.rar for every main hot-spot of the menu bar,
// toolbars, drawing bar and chart bar, and 010000.rar, into examdataDir
// (created when missing). False, with the reason in *err, when a file cannot
// be written.
bool writeChromePictures(const QString& examdataDir, QString* err);

} // namespace sample
