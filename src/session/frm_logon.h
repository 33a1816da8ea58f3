#pragma once
// The candidate login of a mock exam: a login page with the seat and
// identity entries, then a confirmation page with the candidate data and a
// progress bar; when the bar is full the exam starts (question and practice
// windows, question 1, the clock). Nothing typed is checked against a list.
#include <QDate>
#include <QString>

#include "core/forms.h"

namespace session {

// The 18-digit sample identity number (initial entry and filler).
extern const char* const kSampleIdCard;
extern const char* const kQuitExam;       // "确实要退出考试系统吗？"
extern const char* const kQuitExamTitle;  // "Tesmar软件"

// The last two characters of "00" & the trimmed entry: 7 -> 07, 123 -> 23.
QString seatNumber(const QString& entry);
// The last 18 characters of the sample number & the trimmed entry.
QString idCardNumber(const QString& entry);
// The identity box's filter: the key code it passes on (0: discarded), given
// the length of the box's text before the key.
int idCardKey(int keyAscii, int lengthBefore);
// "yyyy年mm月dd日".
QString loginDate(const QDate& d);

class FrmLogon : public core::Form {
public:
    FrmLogon();

    void CmdLog_Click();
    void CmdExit_Click();

    core::Timer& Timer1;  // once after the load: centres the pages and shows the login page
    core::Timer& Timer2;  // fills the progress bar, then starts the exam
    // Login page.
    core::Control& Picture1;
    core::Control& TxtZwh;    // seat number entry
    core::Control& TxtSFZ;    // identity number entry
    core::Control& CmdLog;    // the login button's click area
    core::Control& CmdExit;   // the quit button's click area
    // Confirmation page: the candidate data and the progress bar.
    core::Control& Picture2;
    core::Control& LblName;
    core::Control& LblZwh;    // seat number
    core::Control& LblCC;     // sitting
    core::Control& LblKm;     // subject (the module's name)
    core::Control& LblSfz;    // identity number
    core::Control& LblDah;    // admission number
    core::Control& LblDate;
    core::Control& P2;        // frame of the progress bar
    core::Control& LJD;       // the progress bar

private:
    void Form_Load();
    void Timer1_Timer();
    void Timer2_Timer();
};

core::FormSlot<FrmLogon>& frmLogon();

} // namespace session
