// The cover's information panel: its pages, the info menu, the launcher of
// the sibling modules, the vendor links and the about box.
#include "core/platform.h"
#include "core/text.h"
#include "core/ui.h"
#include "cover/frm_about.h"
#include "cover/frm_fengmian.h"
#include "cover/frm_fengmian_util.h"
#include "cover/sibling_modules.h"

namespace cover {

using namespace core;
using namespace detail;

const char* const kLastPage = "已经到最后一页";
const char* const kFirstInfoPage = "已经到第一页";
const char* const kSiblingNotStarted = "无法启动程序：";

QString infoPageFile(int page) {
    return joinPath(config().DataDir, "9l00" + ("0" + QString::number(page)).right(2) + ".rar");
}

void FrmFengmian::wireInfoPanel() {
    for (int i = 0; i <= 4; ++i) {
        Control& l = LblPro[i];
        l.onClick = [this](Control& c) { LblPro_Click(c.index()); };
        l.onMouseMove = [this](Control& c, const MouseArgs&) { LblPro_MouseMove(c.index()); };
        l.onMouseDown = [this](Control& c, const MouseArgs&) { LblPro_MouseDown(c.index()); };
    }
    LblLast.onClick = [this](Control&) { LblLast_Click(); };
    LblNext.onClick = [this](Control&) { LblNext_Click(); };
    for (int i = 0; i < kLauncherRowCount; ++i) LblKmLj[i].onClick = [this](Control& c) { LblKmLj_Click(c.index()); };
    LblWeb1.onClick = [](Control&) { platform().openUrl(QString::fromLatin1(kVendorSite1)); };
    LblWeb2.onClick = [](Control&) { platform().openUrl(QString::fromLatin1(kVendorSite2)); };
    LblQQ1.onClick = [](Control&) { platform().openUrl(QString::fromLatin1(kServiceChatPage)); };
    LblQQ2.onClick = [](Control&) { platform().openUrl(QString::fromLatin1(kMessengerLink)); };
    LblAbout.onClick = [](Control&) { showAbout(); };
}

void FrmFengmian::kmSetupYN() {
    for (int i = 0; i < kLauncherRowCount; ++i) {
        const LauncherRow row = detectSibling(i);
        ModuleTargets[i] = row.target;
        ModuleFolders[i] = row.folder;
        ShapeKm[i].setBorderColor(row.installed ? 255 : 0xC0C0C0);
    }
}

void FrmFengmian::LoadProPic() {
    const bool launcher = InfoPage == 17;
    if (InfoPage >= 1 && InfoPage <= 17) {
        // A page that cannot be read leaves the panel empty.
        auto pic = pictureStore().load(infoPageFile(InfoPage));
        PicPro.setPicture(pic ? *pic : Picture());
    }
    for (int i = 0; i < kLauncherRowCount; ++i) {
        LblKmLj[i].setVisible(launcher);
        ShapeKm[i].setVisible(launcher);
    }
}

void FrmFengmian::LblPro_Click(int index) {
    if (index == 0) {
        showAbout();
        return;
    }
    static const int16_t firstPages[] = {0, 1, 9, 13, 17};
    if (index < 1 || index > 4) return;
    InfoPage = firstPages[index];
    LoadProPic();
    for (Control* c : {&PicTiKu, &PicReg, &PicKaCH, &PicBiaoZhi}) c->setVisible(false);
    PicPro.setVisible(true);
}

void FrmFengmian::LblPro_MouseMove(int index) {
    for (int i = 0; i <= 4; ++i) {
        LblPro[i].setForeColor(kPlainInfoColour);
        LblPro[i].setFontUnderline(false);
    }
    LblPro[index].setForeColor(0);
    LblPro[index].setFontUnderline(true);
}

void FrmFengmian::LblPro_MouseDown(int index) {
    for (int i = 0; i <= 4; ++i) {
        LblPro[i].setForeColor(kPlainInfoColour);
        LblPro[i].setFontUnderline(false);
    }
    LblPro[index].setForeColor(0xFFFFFF);
}

void FrmFengmian::LblLast_Click() {
    if (InfoPage > 1) {
        InfoPage -= 1;
        LoadProPic();
        return;
    }
    MsgBox(tr8(kFirstInfoPage), MbOkOnly);
    PicPro.setVisible(false);
}

void FrmFengmian::LblNext_Click() {
    if (InfoPage < 17) {
        InfoPage += 1;
        LoadProPic();
        return;
    }
    MsgBox(tr8(kLastPage), MbOkOnly);
    PicPro.setVisible(false);
}

void FrmFengmian::LblKmLj_Click(int index) {
    if (index < 0 || index >= kLauncherRowCount) return;
    if (ShapeKm[index].borderColor() == 255) {
        QString tried;
        if (!startSibling(ModuleTargets[index], ModuleFolders[index], &tried)) MsgBox(tr8(kSiblingNotStarted) + tried, MbOkOnly);
        return;
    }
    platform().openUrl(downloadPage(ModuleTargets[index]));
}

} // namespace cover
