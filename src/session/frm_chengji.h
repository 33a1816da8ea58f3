#pragma once
// The score report of a mock exam: scores the paper at 2.5 points per
// question answered correctly, shows the 40 questions green or red, writes
// the flagged list, the paper's wrong-question list and the score history,
// and offers a review of the whole paper, of its wrong questions, or the way
// back to the cover.
#include <QString>
#include <optional>

#include "core/forms.h"

namespace core {
struct SessionState;
}

namespace session {

// The score in half points: five for every question 1..40 answered
// correctly (state 4 or more).
int scoreHalfPoints(const core::SessionState& s);
// A score in half points written in its shortest decimal form with a full
// stop: 0, 2.5, 37.5, 100.
QString halfPointsText(int halfPoints);
// "第" & (paper + 1) & "套得分：" & score & "分".
QString scoreLine(int paper, int halfPoints);
// Tooltip text of a question-list line: from character 7, or from
// character 20 for a picture question.
QString scoreTooltipText(const QString& listLine);

class FrmChengji : public core::Form {
public:
    FrmChengji();

    // "本次考题复习": practice of the whole paper, no clock.
    void Command1_Click();
    // "退出": back to the cover.
    void Command2_Click();
    // "本次错题复习": practice of the wrong questions just written.
    void Command3_Click();
    // The review start of the wrong questions (the score window's twin of the
    // cover's copying); false, after a message, when nothing was started.
    bool InitShiTi();

    // The score of this report, in half points.
    int ScoreHalves = 0;
    // A record could not be read or written; reported once after the window
    // is shown.
    bool RecordsFailed = false;

    core::Timer& Timer1;      // once after the load: centres the page, reports a record failure
    core::Control& Picture1;  // the page
    core::Control& Command3;  // "本次错题复习"
    core::Control& Command1;  // "本次考题复习"
    core::Control& Command2;  // "退出"
    core::Control& Label1;    // the score line
    core::Control& Frame1;    // holds the question buttons
    core::Control& CmTNO(int i) { return array("CmTNO")[i]; }  // questions 1..40, green or red

private:
    void Form_Load();
    void Timer1_Timer();
    void writeRecords();
};

core::FormSlot<FrmChengji>& frmChengji();

} // namespace session
