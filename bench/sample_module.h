#pragma once
// A fresh copy of the sample module (the build tree's program folder, or
// $EXAMSIM_SAMPLE) for the benchmarks, with the windows registered.
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "core/state.h"
#include "cover/frm_fengmian.h"
#include "engine/frm_main.h"
#include "session/session_start.h"

namespace benchsupport {

inline bool copyTree(const QString& from, const QString& to) {
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = to + "/" + QDir(from).relativeFilePath(src);
        if (it.fileInfo().isDir())
            QDir().mkpath(dst);
        else if (!QFile::copy(src, dst))
            return false;
    }
    return true;
}

inline bool setUpModule() {
    // Removed when the benchmark program ends.
    static std::unique_ptr<QTemporaryDir> module;
    if (module) return true;
    const QString sample = qEnvironmentVariable("EXAMSIM_SAMPLE", QCoreApplication::applicationDirPath() + "/..");
    module = std::make_unique<QTemporaryDir>();
    if (!copyTree(sample + "/wdata", module->path() + "/wdata") ||
        !copyTree(sample + "/examdata", module->path() + "/examdata"))
        return false;
    for (const char* f : {"ver.txt", "sMenu.sys"}) QFile::copy(sample + "/" + f, module->path() + "/" + f);
    QDir().mkpath(module->path() + "/ksdata");
    core::config().ProgramDir = module->path();
    core::config().DataDir = module->path() + "/wdata/";
    core::config().ModuleName = QString::fromUtf8("字处理");
    engine::registerPracticeWindow();
    session::registerSessionWindows();
    cover::registerCover();
    return true;
}

} // namespace benchsupport
