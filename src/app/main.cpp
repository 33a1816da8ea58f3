#include <QApplication>

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

int main(int argc, char** argv) {
    QApplication app(argc, argv);
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
