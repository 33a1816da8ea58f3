// The cover's flagged-question panel: its layout, its pages and the command
// buttons that page, remove and practise them.
#include "cover/frm_fengmian.h"

#include <QFileInfo>
#include <cmath>

#include "core/errors.h"
#include "core/platform.h"
#include "core/state.h"
#include "core/text.h"
#include "core/ui.h"
#include "core/windows.h"
#include "cover/frm_fengmian_util.h"
#include "session/bank.h"
#include "session/records.h"
#include "session/session_start.h"

namespace cover {

using namespace core;
using namespace detail;

// ------------------------------------------------------------- flagged panel

void FrmFengmian::LayoutSaveList() {
    ModuleConfig& cfg = config();
    // Counts from the catalogue; without it the panel is not laid out.
    const auto catalogue = session::PaperCatalog::read();
    if (!catalogue) throw RuntimeError(ErrFileNotFound, "File not found: " + session::paperCatalogFile());
    PaperCount = catalogue->trimmedPaperCount();
    UnitCount = catalogue->trimmedUnitCount();
    core::session().PaperCount = PaperCount;
    core::session().UnitCount = UnitCount;

    // Row height.
    const double H = std::lrint(360 * cfg.ScaleY);

    // Caption line, header strip, row area.
    Control& cap0 = LblSaveCAP[0];
    cap0.move(X(360), Y(60));
    cap0.setWidth(width() - 2 * cap0.left());
    cap0.setHeight(Y(555));
    cap0.setFontSize(10 * cfg.ScaleX);
    ImgSaveBiao.move(X(15), Y(660));
    PicSave.move(ImgSaveBiao.left(), ImgSaveBiao.top() + ImgSaveBiao.height() + Y(15), width() - X(60), Y(6450));

    // Rows.
    LblSCmd[0].move(LblSCmd[0].left(), 0, LblSCmd[0].width(), 0);
    LblSCmd[0].setVisible(false);
    for (int i = 1; i <= FlaggedPageSize; ++i) {
        Control& row = LblSCmd[i];
        row.move(0, (i - 1) * H, PicSave.width(), H);
        row.setCaption(QString());
        row.setBackStyle(1);
        row.setBackColor(i % 2 == 0 ? 0xECECEC : 0xFFFFFF);
        Control& cap = LblXiaoSave[i];
        cap.setFontSize(12 * cfg.ScaleX);
        cap.setForeColor(0);
        cap.fitToCaption();
        cap.move(X(300), row.top() - (cap.height() - H) / 2);
    }

    // Frame and selection bar (out of sight).
    FramSave.move(0, 0, PicSave.width(), FramSave.height());
    ImgSaveXiao.move(0, -900 * cfg.ScaleX, FramSave.width(), H);

    // Notice of the empty list, centred in the row area.
    Control& cap1 = LblSaveCAP[1];
    cap1.setTop(Y(1800));
    cap1.setFontSize(12 * cfg.ScaleX);
    cap1.fitToCaption();
    cap1.setLeft((PicSave.width() - cap1.width()) / 2);

    // Rules and column separators.
    LineSaveBottom[1].setBorderColor(0xFFFFFF);
    placeFlaggedRules();
    LineSaveVS[0].setLine(X(630), 0, X(630), FramSave.height());
    LineSaveVS[1].setLine(X(1665), 0, X(1665), FramSave.height());

    // First page.
    layoutDone_ = true;
    FlaggedPage = 1;
    InitSave(FlaggedPage);
}

void FrmFengmian::placeFlaggedRules() {
    const double x1 = PicSave.left(), x2 = PicSave.left() + PicSave.width();
    const double y0 = PicSave.top() + PicSave.height() + Y(30);
    LineSaveBottom[0].setLine(x1, y0, x2, y0);
    LineSaveBottom[1].setLine(x1, y0 - Y(15), x2, y0 - Y(15));
}

void FrmFengmian::InitSave(int16_t& ns) {
    // Nothing is filled on a panel that could not be laid out.
    if (!layoutDone_) return;
    SessionState& s = core::session();

    // The list; empty: the empty state.
    const QString codes = session::readFlaggedList();
    if (codes.isEmpty()) {
        FlaggedRow = -1;
        LblSaveCAP[1].setVisible(true);
        FramSave.setHeight(0);
        PicSave.setHeight(0);
        LblSaveCAP[0].setCaption(tr8(kNoFlagged));
        placeFlaggedRules();
        return;
    }
    LblSaveCAP[1].setVisible(false);
    FlaggedRow = 1;

    // The page, lowered to the last one.
    const int perPage = FlaggedPageSize * 4;
    const int len = static_cast<int>(codes.size());
    const int pages = len % perPage == 0 ? len / perPage : len / perPage + 1;
    if (ns > pages) ns = static_cast<int16_t>(pages);
    if (ns < 1) ns = 1;
    const QString page = mid(codes, (ns - 1) * perPage + 1, perPage);
    FlaggedPage = ns;

    // Session files of the page and the row titles from them; a page
    // whose questions cannot be read shows no titles.
    for (QString& t : FlaggedTitles) t.clear();
    FlaggedPageReady = session::InitShiTi(page, session::ReviewSlot, &FlaggedPageNotWritable);
    if (FlaggedPageReady) {
        const QStringList lines = readLines(session::questionListFile(session::ReviewSlot)).value_or(QStringList());
        for (int n = 1; n <= lines.size() && n <= 40; ++n) {
            QString text = mid(lines[n - 1], 7);
            if (text.startsWith(QStringLiteral("picture"))) text = mid(text, 14);
            FlaggedTitles[n] = text;
        }
    }

    // Rows.
    s.QuestionCount = static_cast<int16_t>(page.size() / 4);
    const int count = std::min<int>(s.QuestionCount, FlaggedPageSize);
    for (int i = 1; i <= count; ++i) {
        LblSCmd[i].setVisible(true);
        Control& cap = LblXiaoSave[i];
        cap.setVisible(true);
        const QString unit = right("0" + QString::number(val16(mid(page, 4 * i - 3, 2)) + 1), 2);
        setCaptionFit(cap, right(" " + QString::number(i), 2) + "   " + unit + mid(page, 4 * i - 1, 2) + "    " +
                               subLen(FlaggedTitles[i], 82));
    }
    for (int i = count + 1; i <= FlaggedPageSize; ++i) {
        LblSCmd[i].setVisible(false);
        LblXiaoSave[i].setVisible(false);
    }
    const Control& last = LblSCmd[count];
    FramSave.setHeight(last.top() + last.height());
    PicSave.setHeight(FramSave.height());

    // Rules under the rows, separators over them.
    placeFlaggedRules();
    LineSaveVS[0].setLine(LineSaveVS[0].x1(), 0, LineSaveVS[0].x1(), FramSave.height());
    LineSaveVS[1].setLine(LineSaveVS[1].x1(), 0, LineSaveVS[1].x1(), FramSave.height());

    // Row 1 selected.
    LblSCmd_Click(FlaggedRow);
}

void FrmFengmian::LblSCmd_Click(int index) {
    FlaggedRow = static_cast<int16_t>(index);
    ImgSaveXiao.setTop(LblSCmd[index].top());
    LblSaveCAP[0].setCaption(FlaggedTitles.at(index));
}

// ---------------------------------------------------------- command buttons

void FrmFengmian::hideAllPanels() {
    for (Control* c : {&PicTiKu, &PicReg, &PicKaCH, &PicBiaoZhi, &PicPro}) c->setVisible(false);
}

void FrmFengmian::CmdReg_Click(int index) {
    SessionState& s = core::session();
    switch (index) {
    case 2:
        for (Control* c : {&PicTiKu, &PicKaCH, &PicBiaoZhi, &PicPro}) c->setVisible(false);
        PicReg.setVisible(true);
        break;
    case 3: {
        const QString updater = config().programFile("updata.exe");
        if (!QFileInfo::exists(updater))
            MsgBox(tr8(kUpdaterMissing), MbOkOnly | MbExclamation);
        else if (!platform().startDetached(updater))
            MsgBox(tr8(kUpdaterNotStarted), MbOkOnly | MbExclamation);
        break;
    }
    case 4:
        if (FlaggedRow == -1) return;
        FlaggedPage = static_cast<int16_t>(FlaggedPage - 1);
        if (FlaggedPage <= 0) {
            FlaggedPage = 1;
            return;
        }
        InitSave(FlaggedPage);
        break;
    case 5:
        if (FlaggedRow == -1) return;
        if (FlaggedPage < INT16_MAX) FlaggedPage = static_cast<int16_t>(FlaggedPage + 1);
        InitSave(FlaggedPage);
        break;
    case 6: {
        if (FlaggedRow == -1) return;
        const QString codes = session::readFlaggedList();
        const int k = (FlaggedPage - 1) * FlaggedPageSize + FlaggedRow;
        const QString rest = core::left(codes, (k - 1) * 4) + mid(codes, k * 4 + 1);
        if (!session::writeFlaggedList(rest)) {
            MsgBox(tr8(kFlaggedNotSaved), MbOkOnly | MbExclamation);
            return;
        }
        InitSave(FlaggedPage);
        break;
    }
    case 7: {
        if (FlaggedRow == -1) return;
        if (MsgBox(tr8(kRemoveAllQuestion), MbYesNo | MbQuestion, tr8(kRemoveAllTitle)) != MrYes) return;
        if (!session::writeFlaggedList(QString())) {
            MsgBox(tr8(kFlaggedNotSaved), MbOkOnly | MbExclamation);
            return;
        }
        int16_t first = 1;
        InitSave(first);
        break;
    }
    case 8: {
        if (FlaggedRow == -1) return;
        if (!FlaggedPageReady || s.QuestionCount < 1) {
            MsgBox(tr8(FlaggedPageNotWritable ? session::kSessionNotWritable : kPageUnreadable), MbOkOnly | MbExclamation);
            return;
        }
        s.RunMode = RunPractice;
        s.CurrentQuestion = FlaggedRow;
        s.ListKind = ListFlagged;
        s.SetNo = 10;
        for (int i = 1; i <= s.QuestionCount && i <= SessionState::MaxQuestions; ++i) {
            s.QuestionState[i] = 0;
            s.QuestionResult[i] = QStringLiteral("F");
        }
        // The session start unloads the cover: nothing of it is used after.
        if (windows().startLianXi) windows().startLianXi();
        return;
    }
    case 9:
    case 11:
    case 13:
    case 15:
        hideAllPanels();
        break;
    case 10:
    case 12:
        FlaggedPage = 1;
        InitSave(FlaggedPage);
        for (Control* c : {&PicTiKu, &PicReg, &PicKaCH, &PicPro}) c->setVisible(false);
        PicBiaoZhi.setVisible(true);
        break;
    default:
        break;
    }
}
} // namespace cover
