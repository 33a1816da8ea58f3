#pragma once
// The program with its command driver (wm_probe), run on a scratch copy of
// the sample module on a test X server.
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <map>
#include <vector>

#include "wm/x_session.h"

namespace wmtest {

// A form on screen as the program's model has it (pixels).
struct FormInfo {
    quint64 xid = 0;
    QRect model;
    int state = 0;  // 0 normal, 1 minimised, 2 maximised
    bool topmost = false;
};

class ProgramProbe {
public:
    ProgramProbe() = default;
    ~ProgramProbe();
    ProgramProbe(const ProgramProbe&) = delete;
    ProgramProbe& operator=(const ProgramProbe&) = delete;

    // Starts the program on the server and waits for its cover; false with
    // the reason when it did not come.
    bool start(const XSession& x, QString* why);
    // Ends it: asked to quit, killed when it does not.
    void stop();

    // Runs a driver command: true on "ok"; its lines in *lines, else the
    // error (with the end of the program's log) in *error.
    bool command(const QString& cmd, QStringList* lines = nullptr, QString* error = nullptr, int timeoutMs = 30000);
    // The forms on screen by name, and the X windows of open message boxes.
    std::map<QString, FormInfo> forms();
    std::vector<quint64> messageBoxes();

    // What the program wrote on its error output so far (its end).
    QString log();

private:
    QTemporaryDir dir_;
    QProcess proc_;
    QByteArray pending_;
    QString err_;
};

} // namespace wmtest
