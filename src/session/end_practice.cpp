#include "session/end_practice.h"

#include <functional>

#include "core/errors.h"
#include "core/forms.h"
#include "core/state.h"
#include "core/ui.h"
#include "core/windows.h"
#include "session/frm_picture.h"
#include "session/frm_tm.h"
#include "session/records.h"

namespace session {

using namespace core;

const char* const kRemoveSolvedFlagged = "是否将答对的题从标识题中移除？";
const char* const kRemoveSolvedFlaggedTitle = "移除答对的题目";
const char* const kSolvedFlaggedRemoved = "答对的题目已经从标识题中移除！";
const char* const kDropSolvedWrong =
    "本次答对的题目要从“错题复习”中去掉吗？\n如果你认为掌握的还不太好，建议你点“否”，把它们保留在错题记录中。";
const char* const kRecordsNotSaved = "练习记录未能保存，请检查程序文件夹是否可写。";

void endPractice(FrmTm& w) {
    auto st = [](const std::function<void()>& f) { resumeNext(f); };
    SessionState& s = core::session();
    bool saved = true;
    auto record = [&saved](bool ok) {
        if (!ok) saved = false;
    };

    st([&] { frmPicture()().hide(); });
    st([&] { w.Image2.setCaption(QString::fromUtf8(kShowPicture)); });
    st([&] { w.LblZXH_Click(); });
    const bool solved = anySolved(s);

    // Flagged list: a flagged-question session removes the solved ones when
    // the candidate agrees; every other session adds its flags.
    if (s.ListKind != ListFlagged) {
        st([&] { record(saveFlaggedAdded(s)); });
    } else if (solved) {
        st([&] {
            const int answer = MsgBox(QString::fromUtf8(kRemoveSolvedFlagged), MbYesNo | MbQuestion,
                                      QString::fromUtf8(kRemoveSolvedFlaggedTitle));
            if (answer != MrYes) return;
            if (saveFlaggedSolvedRemoved(s))
                MsgBox(QString::fromUtf8(kSolvedFlaggedRemoved), MbOkOnly);
            else
                saved = false;
        });
    }

    // Study unit progress.
    if (s.ListKind == ListUnit) st([&] { record(saveUnitProgress(s.SetNo, s.UnitCount, s)); });
    if (s.ListKind == ListUnitWrong) st([&] { record(saveUnitReviewProgress(s.ReviewUnit, s.UnitCount, s)); });

    // Wrong questions of a paper: the solved ones leave the list on request.
    if (s.ListKind == ListPaperWrong && solved) {
        st([&] {
            const int answer = MsgBox(QString::fromUtf8(kDropSolvedWrong), MbYesNo | MbQuestion | MbDefaultButton2);
            if (answer == MrYes) record(saveWrongListAfterReview(s.ReviewUnit, s));
        });
    }

    if (!saved) st([&] { MsgBox(QString::fromUtf8(kRecordsNotSaved), MbOkOnly | MbExclamation); });

    st([&] { w.TimeKS.setEnabled(false); });
    // A demonstration asked for but not started yet never comes.
    st([&] {
        if (w.TimStartYS.enabled()) s.DemoRunning = false;
        w.TimStartYS.setEnabled(false);
    });
    st([&] { w.TimerREDO.setEnabled(false); });
    s.AllowCloseQuestion = true;
    s.SessionEnded = true;

    st([&] {
        Windows& win = windows();
        if (win.practiceWindowLoaded && win.practiceWindowLoaded()) win.practiceWindow().unload();
    });
    // The window stays alive until its handlers return, but is not touched
    // after this.
    st([&] { w.unload(); });
    st([&] {
        if (windows().showCover) windows().showCover();
    });
}

} // namespace session
