#pragma once
// The end of a practice session: saves what the session changed in the
// candidate's records (asking before anything is removed), closes the
// practice and question windows and shows the cover again.
namespace session {

class FrmTm;

// Runs the end of practice of the question window `w`. Each step goes on
// after an error; a record that cannot be written is reported once, and the
// windows are closed and the cover shown whatever the writes gave. `w` is
// unloaded when this returns.
void endPractice(FrmTm& w);

// Texts of the end of practice.
extern const char* const kRemoveSolvedFlagged;       // "是否将答对的题从标识题中移除？"
extern const char* const kRemoveSolvedFlaggedTitle;  // "移除答对的题目"
extern const char* const kSolvedFlaggedRemoved;      // "答对的题目已经从标识题中移除！"
extern const char* const kDropSolvedWrong;           // the wrong-question review's question
extern const char* const kRecordsNotSaved;

} // namespace session
