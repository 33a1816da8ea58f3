#pragma once
// Shared pieces of the fuzz targets: a scratch folder per process, input
// split into parts, files written from bytes, and a check that aborts.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QList>
#include <QtGlobal>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(cond)                                                              \
    do {                                                                              \
        if (!(cond)) {                                                                \
            std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                             \
        }                                                                             \
    } while (0)

namespace fuzz {

inline QByteArray bytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// Parts of an input are separated by this line.
inline const QByteArray& separator() {
    static const QByteArray s("\n#--#\n");
    return s;
}

// The input cut at its separators into exactly n parts (missing ones empty,
// the last one takes the rest).
inline QList<QByteArray> parts(const QByteArray& in, int n) {
    QList<QByteArray> out;
    qsizetype from = 0;
    for (int i = 0; i < n - 1; ++i) {
        const qsizetype at = from <= in.size() ? in.indexOf(separator(), from) : -1;
        if (at < 0) {
            out << in.mid(from);
            from = in.size() + 1;
            continue;
        }
        out << in.mid(from, at - from);
        from = at + separator().size();
    }
    out << (from <= in.size() ? in.mid(from) : QByteArray());
    while (out.size() < n) out << QByteArray();
    return out;
}

// A folder that lives as long as the process; in memory where the system
// has such a folder (files are rewritten at every input).
inline const QString& scratch() {
    static QTemporaryDir dir(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/examsim-fuzz-XXXXXX")
                                                      : QDir::tempPath() + QStringLiteral("/examsim-fuzz-XXXXXX"));
    static const QString path = [] {
        if (!dir.isValid()) std::abort();
        return dir.path();
    }();
    return path;
}

inline void writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    f.write(data);
}

inline QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Drops the program's warnings: they only slow the run down.
inline void quiet() {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
}

// A GUI application on the offscreen platform, for targets that paint.
inline void guiApp() {
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QGuiApplication(argc, argv);
    }
}

} // namespace fuzz
