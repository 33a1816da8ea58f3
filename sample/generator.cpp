#include "sample/generator.h"

#include <QDir>

namespace sample {
bool generateModule(const QString& programDir, QString* error) {
    if (!QDir().mkpath(programDir)) {
        if (error) *error = "cannot create " + programDir;
        return false;
    }
    return true;
}
}
