#pragma once
#include <QString>

namespace sample {
// Writes the whole sample module into programDir. Existing records (ksdata/)
// are kept. Returns false with a message on failure.
bool generateModule(const QString& programDir, QString* error);
}
