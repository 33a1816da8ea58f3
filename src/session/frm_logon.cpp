#include "session/frm_logon.h"

#include "core/hand_cursor.h"
#include "core/platform.h"
#include "core/state.h"
#include "core/text.h"
#include "core/ui.h"
#include "core/windows.h"
#include "session/bank.h"
#include "session/frm_tm.h"

namespace session {

using namespace core;

// Its first three digits are its last three: an entry of 15 digits is
// filled with either.
const char* const kSampleIdCard = "110105198808080110";
const char* const kQuitExam = "确实要退出考试系统吗？";
const char* const kQuitExamTitle = "Tesmar软件";

QString seatNumber(const QString& entry) { return ("00" + trimSpaces(entry)).right(2); }

QString idCardNumber(const QString& entry) { return (QString::fromLatin1(kSampleIdCard) + trimSpaces(entry)).right(18); }

int idCardKey(int keyAscii, int lengthBefore) {
    if ((keyAscii >= '0' && keyAscii <= '9') || keyAscii == 8) return keyAscii;
    if ((keyAscii == 'X' || keyAscii == 'x') && lengthBefore >= 17) return keyAscii;
    return 0;
}

QString loginDate(const QDate& d) { return d.toString(QStringLiteral("yyyy年MM月dd日")); }

FrmLogon::FrmLogon()
    : Form("FrmLogon"),
      Timer1(addTimer("Timer1", 100, true)),
      Timer2(addTimer("Timer2", 100, false)),
      Picture1(add(Kind::PictureBox, "Picture1")),
      TxtZwh(add(Kind::TextBox, "TxtZwh", &Picture1)),
      TxtSFZ(add(Kind::TextBox, "TxtSFZ", &Picture1)),
      CmdLog(add(Kind::Label, "CmdLog", &Picture1)),
      CmdExit(add(Kind::Label, "CmdExit", &Picture1)),
      Picture2(add(Kind::PictureBox, "Picture2")),
      LblName(add(Kind::Label, "LblName", &Picture2)),
      LblZwh(add(Kind::Label, "LblZwh", &Picture2)),
      LblCC(add(Kind::Label, "LblCC", &Picture2)),
      LblKm(add(Kind::Label, "LblKm", &Picture2)),
      LblSfz(add(Kind::Label, "LblSfz", &Picture2)),
      LblDah(add(Kind::Label, "LblDah", &Picture2)),
      LblDate(add(Kind::Label, "LblDate", &Picture2)),
      P2(add(Kind::PictureBox, "P2", &Picture2)),
      LJD(add(Kind::Label, "LJD", &P2)) {
    setBorderStyle(0);
    setCaption(QStringLiteral("考生登录"));
    setBackColor(0x808040);

    // The pages are shown once they are centred.
    for (Control* page : {&Picture1, &Picture2}) {
        page->setBorderStyle(0);
        page->move(0, 0, 12000, 9000);
        page->setVisible(false);
    }
    for (Control* box : {&TxtZwh, &TxtSFZ}) {
        box->setFontName(QStringLiteral("宋体"));
        box->setFontSize(12);
        box->setFontBold(true);
    }
    TxtZwh.setText(QStringLiteral("18"));
    TxtZwh.setMaxLength(3);
    TxtSFZ.setText(QString::fromLatin1(kSampleIdCard));
    TxtSFZ.setMaxLength(18);
    for (Control* area : {&CmdLog, &CmdExit}) {
        area->setBackStyle(0);
        area->setMousePointer(PtrCustom);
        area->setMouseIcon(handCursorFile());
    }
    for (Control* l : {&LblName, &LblZwh, &LblCC, &LblKm, &LblSfz, &LblDah, &LblDate}) {
        l->setBackStyle(0);
        l->setAutoSize(true);
        l->setFontName(QStringLiteral("宋体"));
        l->setFontSize(12);
        l->setFontBold(true);
    }
    P2.setBorderStyle(0);
    P2.setBackColor(0x80000005);
    LJD.setBackStyle(1);
    LJD.setBackColor(0xFF0000);

    onLoad = [this] { Form_Load(); };
    Timer1.onTimer = [this](Timer&) { Timer1_Timer(); };
    Timer2.onTimer = [this](Timer&) { Timer2_Timer(); };
    CmdLog.onClick = [this](Control&) { CmdLog_Click(); };
    CmdExit.onClick = [this](Control&) { CmdExit_Click(); };
    TxtSFZ.onKeyPress = [this](Control&, int& key) { key = idCardKey(key, static_cast<int>(TxtSFZ.text().size())); };
    // A close by the user (the window has no border, but the desktop can
    // close it) is the quit: without it no window of the program would stay.
    // The confirmation page has no way back: there the close is refused.
    onDesktopClose = [this] {
        if (CmdExit.shown() && !core::boxOpen()) CmdExit_Click();
    };
}

void FrmLogon::Form_Load() {
    const ModuleConfig& cfg = config();
    const double sx = cfg.ScaleX, sy = cfg.ScaleY;
    maximiseOnWorkArea(*this);

    TxtZwh.move(5070 * sx, 4440 * sy, 3255, 360);
    TxtSFZ.move(TxtZwh.left(), 4905 * sy, 3255, 360);
    CmdLog.move(4275 * sx, 5640 * sy, 1335, 495);
    CmdExit.move(6660 * sx, 5640 * sy, 1335, 495);
    LblName.move(4080 * sx, 2610 * sy);
    LblZwh.move(4080 * sx, 2940 * sy);
    LblCC.move(4080 * sx, 3300 * sy);
    LblKm.move(2505 * sx, 4215 * sy);
    LblSfz.move(2505 * sx, 4590 * sy);
    LblDah.move(2505 * sx, 4950 * sy);
    LblDate.move(2505 * sx, 5250 * sy);
    P2.move(1110 * sx, 7980 * sy, 10335 * sx, 180);
    LJD.move(0, 0, 255, 375);

    // A missing page shows a plain page; the entries and hot areas work.
    if (auto page = pictureStore().load(joinPath(cfg.DataDir, "9l0056.rar"))) Picture1.setPicture(*page);
    if (auto page = pictureStore().load(joinPath(cfg.DataDir, "9l0057.rar"))) Picture2.setPicture(*page);

    // The session paths, as the session start set them.
    SessionState& s = core::session();
    const int slot = sessionSlot(s.SetNo, s.ListKind);
    s.TextTableFile = cfg.dataFile("288890");
    s.ScriptFile = stepScriptFile(slot);
    s.QuestionFile = questionListFile(slot);
}

void FrmLogon::Timer1_Timer() {
    Picture1.move((width() - Picture1.width()) / 2, (height() - Picture1.height()) / 2);
    Picture2.move(Picture1.left(), Picture1.top());
    Picture1.setVisible(true);
    Picture2.setVisible(false);
    Timer1.setEnabled(false);
    setActiveControl(&TxtZwh);
}

void FrmLogon::CmdLog_Click() {
    SessionState& s = core::session();
    s.AllowCloseQuestion = false;
    s.SeatNo = seatNumber(TxtZwh.text());
    s.SessionNo = QStringLiteral("18");
    s.IdCardNo = idCardNumber(TxtSFZ.text());
    s.AdmissionNo = QStringLiteral("888888");
    LblName.setCaption(s.CandidateName);
    LblZwh.setCaption(s.SeatNo);
    LblCC.setCaption(s.SessionNo);
    LblKm.setCaption(config().ModuleName);
    LblSfz.setCaption(s.IdCardNo);
    LblDah.setCaption(s.AdmissionNo);
    LblDate.setCaption(loginDate(platform().now().date()));
    Picture1.setVisible(false);
    Picture2.setVisible(true);
    Timer2.setEnabled(true);
}

void FrmLogon::Timer2_Timer() {
    LJD.setWidth(LJD.width() + 1500 * config().ScaleX);
    if (!(LJD.width() > P2.width())) return;
    unload();
    SessionState& s = core::session();
    s.ExamStartTime = platform().now();
    s.CurrentQuestion = 1;
    // The first reference loads the question window and starts its clock.
    frmTm()().TimerREDO.setEnabled(true);
    if (windows().practiceWindow) windows().practiceWindow().show();
    frmTm()().show();
}

void FrmLogon::CmdExit_Click() {
    const int answer = MsgBox(QString::fromUtf8(kQuitExam), MbYesNo | MbQuestion | MbDefaultButton2,
                              QString::fromUtf8(kQuitExamTitle));
    if (answer != MrYes) return;
    unload();
    if (windows().showCover) windows().showCover();
}

core::FormSlot<FrmLogon>& frmLogon() {
    static core::FormSlot<FrmLogon> slot;
    return slot;
}

} // namespace session
