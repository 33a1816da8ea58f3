#pragma once
// The three modal dialogs that guard the ways out of a mock exam: the
// view-answer warning (FrmCZTS) and the two hand-in confirmations (FrmEnd1,
// FrmEnd2). The second one's "交卷" ends the exam and opens the score report.
#include <QString>
#include <array>
#include <cstdint>

#include "core/forms.h"

namespace core {
struct SessionState;
}

namespace session {

// A question needs attention before the hand-in when it was never opened
// (an even state) or is opened and flagged (3 or 7).
bool needsAttention(int16_t state);
// The first confirmation's question for the states of all forty questions
// (1..40, whatever QuestionCount is).
QString handInQuestion(const core::SessionState& s);

// The view-answer warning.
class FrmCZTS : public core::Form {
public:
    FrmCZTS();

    // "我先独立完成" (and a click on the text or the background): closes.
    void Command1_Click();
    // "我想立即看答案": asks; on Yes the exam turns into practice and the
    // demonstration of the current question starts.
    void Command2_Click();

    core::Control& Shape1;    // the etched frame: its grey line
    core::Control& Shape2;    // ... and its white line a pixel lower right
    core::Control& Label3;    // "请注意!!!"
    core::Control& Label2;    // the warning text
    core::Control& Command1;  // "我先独立完成"
    core::Control& Command2;  // "我想立即看答案"
};

// The frame, label and two buttons both hand-in confirmations share.
class HandInDialog : public core::Form {
public:
    explicit HandInDialog(const QString& name);

    // "交卷" and "继续考试".
    virtual void Command1_Click() = 0;
    void Command2_Click();

    core::Control& Frame1;
    core::Control& Label1;    // the dialog's question
    core::Control& Command1;  // "交卷"
    core::Control& Command2;  // "继续考试"
};

class FrmEnd1 : public HandInDialog {
public:
    FrmEnd1();
    // Closes this dialog and opens the second confirmation.
    void Command1_Click() override;
};

class FrmEnd2 : public HandInDialog {
public:
    FrmEnd2();
    // Ends the exam: handInExam().
    void Command1_Click() override;
};

core::FormSlot<FrmCZTS>& frmCZTS();
core::FormSlot<FrmEnd1>& frmEnd1();
core::FormSlot<FrmEnd2>& frmEnd2();

// "继续考试": the question window comes back docked at the practice window's
// bottom-right corner; the exam goes on.
void continueExam();

// The final hand-in: the session ends (SessionEnded), every session dialog
// still open is closed, a running demonstration is stopped, the picture
// popup hidden, the question and practice windows unloaded (with them the
// exam clock), and the score report shown.
void handInExam();

// Sets the question window's hand-in hook to the first confirmation.
void registerExamDialogs();

// Texts of the dialogs.
extern const char* const kViewAnswerWarning;   // Label2 of FrmCZTS
extern const char* const kViewAnswerQuestion;  // the message box of "我想立即看答案"
extern const char* const kViewAnswerTitle;     // "不建议您立即看答案"
extern const char* const kAttentionLine;       // "您还有题目未做或仍处于标识状态！"
extern const char* const kHandInQuestion;      // "您是否确定交卷?"
extern const char* const kFinalHandIn;         // Label1 of FrmEnd2

} // namespace session
