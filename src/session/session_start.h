#pragma once
// Starting a session: the cover's starters (a paper's mock exam, the wrong
// questions of a paper, a study unit, the unsolved questions of a unit), the
// common start that opens the question and practice windows or the login,
// and the score window's review of the wrong questions just scored.
//
// A starter that cannot read the question bank or the candidate's records
// shows a message and starts nothing; the session state is then left as it
// was.
namespace core {
class Form;
}

namespace session {

// The mock exam of paper k (0..13).
void LblStartKs_Click(int paper);
// "错题复习" of paper k.
void LblErr_Click(int paper);
// Practice of study unit u.
void LblJinRuXX_Click(int unit);
// "错误题" of unit u: its questions not yet solved.
void LblUWrong_Click(int unit);
// The common start of a session prepared by a starter (also the cover's
// flagged-list page). Returns false, after a message, when the session's
// question list cannot be read.
bool startLianXi();
// The score window's review of the wrong questions of paper SetNo (its
// caller has set RunMode 2 and ReviewUnit). The score window, when given, is
// unloaded. Returns false, after a message, when nothing was started.
bool startScoreReview(core::Form* scoreWindow = nullptr);

// Sets the session hooks of core::windows(): the starters, the session
// start and the question window.
void registerSessionWindows();

// Messages of the starts.
extern const char* const kNoWrongQuestions;
extern const char* const kScoreWithoutWrongQuestions;  // the score window's review, nothing wrong
extern const char* const kBankUnreadable;
extern const char* const kRecordsUnreadable;
extern const char* const kSessionNotWritable;
extern const char* const kUnitWithoutQuestions;

} // namespace session
