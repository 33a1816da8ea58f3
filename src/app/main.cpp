#include <QApplication>
#include <cstdio>
#include <utility>
#include <vector>
#include <unistd.h>

#include "core/forms.h"
#include "core/platform.h"
#include "core/windows.h"
#include "cover/frm_fengmian.h"
#include "demo/frm_yanshi.h"
#include "engine/frm_main.h"
#include "session/frm_start.h"
#include "session/session_start.h"
#include "view/form_window.h"
#include "view/view_host.h"

namespace {

QtMessageHandler previousHandler = nullptr;
// What Qt said while the application object was made.
std::vector<std::pair<QtMsgType, QString>> startMessages;

// While the application object is made, a fatal message is Qt finding no
// platform to show windows on: said in one line (without the warnings that
// led to it), and exit code 1 instead of an abort.
void onStartMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtFatalMsg) {
        startMessages.emplace_back(type, message);
        return;
    }
    std::fputs("This program needs an X display: set DISPLAY, or QT_QPA_PLATFORM to a platform that works here.\n",
               stderr);
    ::_exit(1);
}

// The application is made: what Qt said meanwhile goes where it goes.
void endStart() {
    qInstallMessageHandler(previousHandler);
    for (const auto& [type, message] : startMessages)
        if (previousHandler) previousHandler(type, QMessageLogContext(), message);
    startMessages.clear();
}

} // namespace

int main(int argc, char** argv) {
    previousHandler = qInstallMessageHandler(onStartMessage);
    QApplication app(argc, argv);
    endStart();
    view::setProgramIdentity();
    app.setQuitOnLastWindowClosed(false);
    view::ViewHost::install();

    int exitCode = 0;
    bool running = false;
    core::windows().exitProgram = [&](int code) {
        exitCode = code;
        if (running) QCoreApplication::exit(code);
    };
    cover::registerCover();
    engine::registerPracticeWindow();
    session::registerSessionWindows();
    demo::registerDemonstrationWindow();

    session::FrmStart& start = session::frmStart()();
    if (!start.refused) {
        start.show();
        running = true;
        exitCode = app.exec();
        running = false;
    }
    // The windows go while the application is whole; then the claim on the
    // program folder.
    view::ViewHost::shutDown();
    core::platform().releaseSingleInstance();
    return exitCode;
}
