#pragma once
// Where the generated sample module lies, and copying it to a scratch folder
// (the program writes into its folder).
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace e2e {

// The build tree holding the generated module: EXAMSIM_SAMPLE, else the
// folder above the test program.
inline QString buildDir() {
    const QByteArray env = qgetenv("EXAMSIM_SAMPLE");
    if (!env.isEmpty()) return QString::fromLocal8Bit(env);
    const QString exeDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                        : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    return QDir(exeDir + "/..").absolutePath();
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

} // namespace e2e
