// A copy of the program as far as its single-instance check goes, for the
// tests that start several, as other users or at the same moment.
//
//   lock_probe FOLDER --path     prints the lock file's path for this user
//   lock_probe FOLDER [--wait] [--child] [--registry FILE]
//
// Asks for the folder's claim and prints "run" or "refused"; holds the claim
// until its input ends. --wait prints "ready" and waits for a line first, so
// that several probes ask at the same moment; --child starts a program that
// outlives the probe and prints "child PID"; --registry writes a value to the
// registry file FILE, as a start does, and prints "registry CODE".
#include <QProcess>
#include <QString>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "core/platform.h"
#include "core/registry.h"

namespace {

void say(const QByteArray& line) {
    std::fputs(line.constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

bool has(int argc, char** argv, const char* flag) {
    for (int i = 2; i < argc; ++i)
        if (std::strcmp(argv[i], flag) == 0) return true;
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (has(argc, argv, "--path")) {
        say(core::instanceLockPath(folder).toLocal8Bit());
        return 0;
    }
    char buf[256];
    if (has(argc, argv, "--wait")) {
        say("ready");
        if (!std::fgets(buf, sizeof buf, stdin)) return 2;
    }
    core::RealPlatform platform;
    const bool run = platform.acquireSingleInstance(folder);
    if (run && has(argc, argv, "--child")) {
        qint64 pid = 0;
        if (!QProcess::startDetached("sleep", {"60"}, QString(), &pid)) return 3;
        say("child " + QByteArray::number(pid));
    }
    say(run ? "run" : "refused");
    for (int i = 2; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--registry") != 0) continue;
        core::FileRegistryStore store(QString::fromLocal8Bit(argv[i + 1]));
        say("registry " + QByteArray::number(store.setValue("Software\\Probe", "Started", {core::REG_SZ, "yes"})));
    }
    while (std::fgets(buf, sizeof buf, stdin)) {}
    platform.releaseSingleInstance();
    return 0;
}
