#include "wm/program_probe.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include "e2e/sample_module.h"

namespace wmtest {

ProgramProbe::~ProgramProbe() { stop(); }

bool ProgramProbe::start(const XSession& x, QString* why) {
    if (!dir_.isValid()) {
        *why = "no scratch folder";
        return false;
    }
    // The program writes into its folder: a copy of the generated module,
    // with empty records.
    const QString prog = dir_.path() + "/prog";
    if (!e2e::copyModule(e2e::sampleDir(), prog)) {
        *why = "could not copy the generated module in " + e2e::sampleDir();
        return false;
    }
    const QString runtime = dir_.path() + "/run";
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QProcessEnvironment env = x.clientEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("EXAMSIM_HOME", prog);
    env.insert("EXAMSIM_REGISTRY", dir_.path() + "/registry.ini");
    env.insert("XDG_RUNTIME_DIR", runtime);
    env.insert("TMPDIR", dir_.path());
    env.remove("SESSION_MANAGER");
    proc_.setProcessEnvironment(env);
    // WM_PROBE names another build of the probe (to try the tests on it).
    const QString probe = qEnvironmentVariable("WM_PROBE", QCoreApplication::applicationDirPath() + "/wm_probe");
    proc_.start(probe, {});
    if (!proc_.waitForStarted(10000)) {
        *why = "wm_probe did not start: " + proc_.errorString();
        return false;
    }
    QString error;
    if (!command("ready", nullptr, &error)) {
        *why = "the program did not show its cover: " + error;
        return false;
    }
    return true;
}

void ProgramProbe::stop() {
    if (proc_.state() == QProcess::NotRunning) return;
    proc_.write("quit\n");
    proc_.closeWriteChannel();
    if (!proc_.waitForFinished(5000)) {
        proc_.kill();
        proc_.waitForFinished(5000);
    }
}

QString ProgramProbe::log() {
    err_ += QString::fromLocal8Bit(proc_.readAllStandardError());
    return err_.right(1500);
}

bool ProgramProbe::command(const QString& cmd, QStringList* lines, QString* error, int timeoutMs) {
    QStringList got;
    QString err;
    proc_.write((cmd + "\n").toUtf8());
    QElapsedTimer t;
    t.start();
    for (;;) {
        pending_ += proc_.readAllStandardOutput();
        const qsizetype nl = pending_.indexOf('\n');
        if (nl >= 0) {
            const QString line = QString::fromUtf8(pending_.left(nl));
            pending_.remove(0, nl + 1);
            if (line == "ok") break;
            if (line.startsWith("error")) {
                err = line;
                break;
            }
            got << line;
            continue;
        }
        if (proc_.state() != QProcess::Running) {
            err = "the program ended";
            break;
        }
        if (t.elapsed() > timeoutMs) {
            err = "no answer to \"" + cmd + "\"";
            break;
        }
        proc_.waitForReadyRead(100);
    }
    if (lines) *lines = got;
    if (!err.isEmpty() && error) *error = err + "\nprogram log:\n" + log();
    return err.isEmpty();
}

std::map<QString, FormInfo> ProgramProbe::forms() {
    std::map<QString, FormInfo> out;
    QStringList lines;
    if (!command("windows", &lines)) return out;
    for (const QString& l : lines) {
        const QStringList f = l.split(' ');
        if (f.value(0) != "form" || f.size() < 9) continue;
        FormInfo i;
        i.xid = f[2].toULongLong();
        i.model = QRect(f[3].toInt(), f[4].toInt(), f[5].toInt(), f[6].toInt());
        i.state = f[7].toInt();
        i.topmost = f[8] == "1";
        out[f[1]] = i;
    }
    return out;
}

std::vector<quint64> ProgramProbe::messageBoxes() {
    std::vector<quint64> out;
    QStringList lines;
    if (!command("windows", &lines)) return out;
    for (const QString& l : lines)
        if (l.startsWith("box ")) out.push_back(l.section(' ', 1, 1).toULongLong());
    return out;
}

} // namespace wmtest
