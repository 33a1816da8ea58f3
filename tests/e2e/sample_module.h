#pragma once
// Where the generated sample module lies, and copying it to a scratch folder
// (the program writes into its folder).
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "core/platform.h"
#include "core/state.h"
#include "core/text.h"
#include "session/frm_start.h"

namespace e2e {

// The generated module as the build made it: EXAMSIM_SAMPLE, else
// sample-module/ in the build tree above the test program.
inline QString sampleDir() {
    const QByteArray env = qgetenv("EXAMSIM_SAMPLE");
    if (!env.isEmpty()) return QString::fromLocal8Bit(env);
    const QString exeDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                        : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    return QDir(exeDir + "/../sample-module").absolutePath();
}

inline bool copyTree(const QString& from, const QString& to) {
    QDir().mkpath(to);
    const QDir src(from);
    for (const QFileInfo& fi : src.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + "/" + fi.fileName();
        if (fi.isDir()) {
            if (!copyTree(fi.filePath(), target)) return false;
        } else if (!QFile::copy(fi.filePath(), target)) {
            return false;
        }
    }
    return true;
}

// The module's settings: name, title, data folder, module number, ...
inline QStringList settingsOf(const QString& programDir) {
    QStringList out;
    for (const QString& l : core::readLines(programDir + "/ver.txt").value_or(QStringList()))
        out << session::decodeSettingsLine(l);
    return out;
}

// Questions per unit, from the catalogue's second line.
inline std::vector<int> unitCounts(const QString& programDir) {
    const QStringList settings = settingsOf(programDir);
    if (settings.size() < 3) return {};
    const auto catalogue = core::readLines(programDir + "/" + settings[2] + "/288891.rar");
    if (!catalogue || catalogue->size() < 2) return {};
    const int units = core::val16(core::mid(catalogue->at(0), 3, 2));
    std::vector<int> counts;
    for (int u = 0; u < units; ++u) counts.push_back(core::val16(core::mid(catalogue->at(1), u * 2 + 1, 2)));
    return counts;
}

// Copies the module at src (settings, context menus, cursors, data folder,
// window pictures) into the program folder root, with an empty records
// folder.
inline bool copyModule(const QString& src, const QString& root) {
    const QStringList settings = settingsOf(src);
    bool ok = settings.size() >= 3 && QDir().mkpath(root + "/ksdata");
    QStringList files = {"ver.txt", "updata.txt", "sMenu.sys"};
    files += QDir(src).entryList({"ico*.CUR"}, QDir::Files);
    for (const QString& f : files) ok = ok && QFile::copy(src + "/" + f, root + "/" + f);
    return ok && copyTree(src + "/" + settings.value(2), root + "/" + settings.value(2)) &&
           copyTree(src + "/examdata", root + "/examdata");
}

// Runs the program on the module at root: its configuration as the start
// reads it, and the platform double on a 1024 x 768 screen.
inline void useModule(const QString& root, const std::shared_ptr<core::FakePlatform>& pf) {
    const QStringList settings = settingsOf(root);
    core::ModuleConfig& c = core::config();
    c.ProgramDir = root;
    c.ModuleName = settings.value(0);
    c.ModuleTitle = settings.value(1);
    c.DataDir = root + "/" + settings.value(2) + "/";
    c.ModuleNo = core::val16(settings.value(3));
    c.AppTitle = QString::fromUtf8("Norvane职称计算机考试 ") + c.ModuleName + QString::fromUtf8("模块");
    pf->folder = root;
    pf->screenInfo.widthTwips = 1024 * 15;
    pf->screenInfo.heightTwips = 768 * 15;
    core::setPlatform(pf);
}

} // namespace e2e
