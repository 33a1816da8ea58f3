#include "chrome/layout.h"

#include <functional>

#include "chrome/picture_cache.h"
#include "chrome/rows.h"
#include "chrome/zones.h"
#include "core/errors.h"
#include "core/text.h"
#include "core/state.h"

namespace chrome {

namespace {

// Step from the previous toolbar hot-spot's Left: its design width, plus 90
// where a separator gap follows it.
double toolbarStep(int i) {
    switch (i) {
    case 46: case 48: case 51: case 55: case 61: case 63: case 81: case 85: return 435;
    case 49: case 56: case 74: case 86: case 87: return 510;
    case 57: case 77: return 600;
    default: return 345;
    }
}

// Toolbar hot-spots with a fixed Left.
bool toolbarFixedLeft(int i, double& left) {
    switch (i) {
    case 41: case 67: left = 150; return true;
    case 65: left = 10125; return true;
    case 66: left = 10560; return true;
    case 69: left = 1755; return true;
    case 70: left = 3645; return true;
    case 71: left = 4545; return true;
    default: return false;
    }
}

struct Exception {
    int index;
    double value;
};
constexpr Exception kToolbarWidths[] = {{48, 510}, {55, 510}, {56, 510}, {64, 915}, {66, 1020}, {68, 1260},
                                        {69, 1890}, {70, 810}, {73, 510}, {76, 510}, {85, 510}, {86, 510}};
constexpr Exception kToolbarTops[] = {{64, 30}, {68, 420}, {69, 420}, {70, 420}};
constexpr double kChartLefts[] = {2400, 2835, 3270, 3705, 4050, 4485, 4920, 5265};  // 92-99

class Runner {
public:
    explicit Runner(bool resume) : resume_(resume) {}
    void operator()(const std::function<void()>& statement) const {
        if (resume_)
            core::resumeNext(statement);
        else
            statement();
    }

private:
    bool resume_;
};

} // namespace

DesignRect designHotSpotRect(int i) {
    DesignRect r;
    if (i >= 1 && i <= 9) return {135 + (i - 1) * 870.0, 0, 870, 270};
    if (i >= 41 && i <= 88) {
        r.width = 345;
        r.height = 330;
        r.top = i <= 66 ? 15 : 405;
        for (const auto& e : kToolbarWidths)
            if (e.index == i) r.width = e.value;
        for (const auto& e : kToolbarTops)
            if (e.index == i) r.top = e.value;
        int first = i;
        double left = 0;
        while (!toolbarFixedLeft(first, left)) --first;
        for (int k = first + 1; k <= i; ++k) left += toolbarStep(k);
        r.left = left;
        return r;
    }
    if (i >= 11 && i <= 31) {
        if (i == 11) return {150, 60, 870, 270};
        if (i == 13) return {1455, 60, 1230, 270};
        r = {0, 30, 345, 330};
        if (i == 12) r.left = 1020;
        else if (i <= 23) r.left = 2685 + (i - 14) * 345.0;
        else if (i <= 26) r = {6225 + (i - 24) * 510.0, 30, 510, 330};
        else r.left = 7755 + (i - 27) * 345.0;
        return r;
    }
    if (i == 89 || i == 90) return {15 + (i - 87) * 870.0, 30, 870, 270};
    if (i == 91) return {0, 390, 2400, 285};
    if (i >= 92 && i <= 99) return {kChartLefts[i - 92], 375, 345, 330};
    return r;
}

void ToolCSH(const ChromeWindow& w) {
    const double sx = core::config().ScaleX, sy = core::config().ScaleY;
    const Runner run(w.resumeAfterErrors);
    core::ControlArray& hs = *w.hotSpots;

    // Nothing highlighted, nothing open.
    for (core::Control* img : {w.imgMenu, w.imgHui, w.imgTool, w.imgElse, w.imgTuBiao})
        if (img) run([&] { img->clearPicture(); });
    run([&] { w.pic1J->setVisible(false); });
    run([&] { w.pic2J->setVisible(false); });

    // Menu bar.
    run([&] { w.picMenu->move(MenuBarLeft * sx, MenuBarTop * sy); });
    for (int i = 1; i <= 9; ++i) {
        run([&] { hs[i].setLeft(135 * sx + (i - 1) * 870 * sx); });
        run([&] { hs[i].setTop(0); });
        run([&] { hs[i].setWidth(870 * sx); });
        run([&] { hs[i].setHeight(270 * sy); });
        if (w.hotSpotsOnWindow) {
            run([&] { hs[i].setLeft(hs[i].left() + w.picMenu->left()); });
            run([&] { hs[i].setTop(hs[i].top() + w.picMenu->top()); });
        }
    }

    // Standard and formatting toolbars.
    run([&] { w.picTool->move(ToolBarLeft * sx, ToolBarTop * sy); });
    for (int i = 41; i <= 88; ++i) {
        const double top = i <= 66 ? 15 : 405;
        run([&] { hs[i].setWidth(345 * sx); });
        run([&] { hs[i].setHeight(330 * sy); });
        run([&] { hs[i].setTop(top * sy); });
    }
    for (int i = 41; i <= 88; ++i) {
        double left = 0;
        if (toolbarFixedLeft(i, left))
            run([&] { hs[i].setLeft(left * sx); });
        else  // chained: what the previous hot-spot reports, plus the step
            run([&] { hs[i].setLeft(hs[i - 1].left() + toolbarStep(i) * sx); });
    }
    for (const auto& e : kToolbarWidths) run([&] { hs[e.index].setWidth(e.value * sx); });
    for (const auto& e : kToolbarTops) run([&] { hs[e.index].setTop(e.value * sy); });
    if (w.hotSpotsOnWindow)
        for (int i = 41; i <= 88; ++i) {
            run([&] { hs[i].setLeft(hs[i].left() + w.picTool->left()); });
            run([&] { hs[i].setTop(hs[i].top() + w.picTool->top()); });
        }

    // Drawing bar.
    run([&] { w.picHui->move(DrawingBarLeft * sx, w.drawingBarTop * sy); });
    for (int i = 11; i <= 31; ++i) {
        run([&] { hs[i].setTop(30 * sy); });
        run([&] { hs[i].setHeight(330 * sy); });
        run([&] { hs[i].setWidth(345 * sx); });
    }
    run([&] { hs[11].move(150 * sx, 60 * sy, 870 * sx, 270 * sy); });
    run([&] { hs[13].move(1455 * sx, 60 * sy, 1230 * sx, 270 * sy); });
    run([&] { hs[12].setLeft(1020 * sx); });
    for (int i = 14; i <= 31; ++i) {
        const DesignRect r = designHotSpotRect(i);
        run([&] { hs[i].setLeft(r.left * sx); });
    }
    for (int i = 24; i <= 26; ++i) run([&] { hs[i].setWidth(510 * sx); });
    if (w.hotSpotsOnWindow)
        for (int i = 11; i <= 31; ++i) {
            run([&] { hs[i].setLeft(hs[i].left() + w.picHui->left()); });
            run([&] { hs[i].setTop(hs[i].top() + w.picHui->top()); });
        }

    // Chart bar (practice window only).
    if (!w.picTuBiao) return;
    run([&] { w.picTuBiao->move(ChartBarLeft * sx, ChartBarTop * sy); });
    for (int i = 89; i <= 90; ++i) {
        run([&] { hs[i].setLeft(15 * sx + (i - 87) * 870 * sx); });
        run([&] { hs[i].setTop(30 * sy); });
        run([&] { hs[i].setWidth(870 * sx); });
        run([&] { hs[i].setHeight(270 * sy); });
    }
    run([&] { hs[91].move(0, 390 * sy, 2400 * sx, 285 * sy); });
    for (int i = 92; i <= 99; ++i) {
        run([&] { hs[i].setTop(375 * sy); });
        run([&] { hs[i].setWidth(345 * sx); });
        run([&] { hs[i].setHeight(330 * sy); });
    }
    for (int i = 92; i <= 99; ++i) run([&] { hs[i].setLeft(kChartLefts[i - 92] * sx); });
}

void frmCsh(const ChromeWindow& w, int16_t& openMenu) {
    const Runner run(true);
    if (openMenu != 33 && openMenu != 34) {
        run([&] { w.pic1J->setVisible(false); });
        openMenu = 0;
    }
    run([&] { w.pic2J->setVisible(false); });
    for (core::Control* img : {w.imgMenu, w.imgTool, w.imgElse, w.imgHui, w.imgTuBiao})
        if (img) run([&] { img->clearPicture(); });
    run([&] { w.picList->setHeight(330 * core::config().ScaleY); });
}

bool setChromePicture(core::Control& c, const QString& examDataPath, const QString& code) {
    if (auto p = chromePicture(examDataPath, code)) {
        c.setPicture(*p);
        return true;
    }
    c.clearPicture();
    return false;
}

int ElseToolCSH(const ChromeWindow& w, const QString& stepLine) {
    const Runner run(true);
    const double sx = core::config().ScaleX, sy = core::config().ScaleY;
    const bool demo = w.demonstration();
    core::ControlArray& hs = *w.hotSpots;
    int armed = 0;

    for (int i = 32; i <= 40; ++i) run([&] { hs[i].move(0, 0, 0, 0); });
    run([&] { w.picElse->setVisible(false); });

    if (core::mid(stepLine, 86, 1) == u"H") {
        const int n = core::val16(core::mid(stepLine, 87, 2));
        const double x = core::val16(core::mid(stepLine, 96, 5)), y = core::val16(core::mid(stepLine, 102, 4));
        const QString alt = core::mid(stepLine, 4, 2);
        if (n >= 32 && n <= 40) {
            run([&] { w.picElse->move(x * sx, y * sy); });
            if (n == 36) run([&] { w.picElse->move(6510 * sx, 420 * sy); });
            if (n == 32) run([&] { w.picElse->move(9090 * sx, 1605 * sy); });
            if (n == 37 && !demo) run([&] { w.picElse->move(6240 * sx, 420 * sy); });
            // The variant replaces the plain picture; a missing variant
            // leaves the plain one.
            bool loaded = false;
            if (alt.startsWith(u'X'))
                if (auto v = chromePicture(w.examDataPath, QStringLiteral("XX0") + alt.mid(1, 1) + "00")) {
                    w.picElse->setPicture(*v);
                    loaded = true;
                }
            if (!loaded) setChromePicture(*w.picElse, w.examDataPath, extraPictureCode(n));
            run([&] { w.picElse->setVisible(true); });
            if (demo) {
                if (n == 32) run([&] { hs[32].move(0, 0, 2655 * sx, 300 * sy); });
            } else {
                run([&] { hs[n].move(0, 0, 8100 * sx, 6000 * sy); });
            }
        }
        if (n == 33 || (n == 34 && !demo)) {
            run([&] { w.picElse->setVisible(false); });
            run([&] { w.pic1J->move(x * sx, y * sy); });
            setChromePicture(*w.pic1J, w.examDataPath, dropDownPictureCode(n));
            run([&] { w.pic1J->setVisible(true); });
            if (demo)
                run([&] { hs[33].move(hs[33].left(), hs[33].top(), 30 * sx, 30 * sy); });
            else
                armed = n;
        }
    }

    if (demo) {
        for (int i = 32; i <= 40; ++i)
            run([&] { hs[i].move(hs[i].left() + w.picElse->left(), hs[i].top() + w.picElse->top()); });
        run([&] { hs[36].move(hs[36].left(), hs[36].top(), 870 * sx, 270 * sy); });
        run([&] { hs[37].move(hs[37].left(), hs[37].top(), 330 * sx, 855 * sy); });
    }
    return armed;
}

void layDropDownRows(const ChromeWindow& w, int openMenu) {
    const Runner run(true);
    if (w.img1J) run([&] { w.img1J->clearPicture(); });
    const double sx = core::config().ScaleX, sy = core::config().ScaleY;
    const bool demo = w.demonstration();
    const RowParams p{demo ? SimWindow::Demo : SimWindow::Practice, sx, sy, w.pic1J->width()};
    const RowLayout rows = dropDownRows(openMenu, p);
    applyRows(*w.lbl1J, rows, demo ? w.pic1J->left() : 0, demo ? w.pic1J->top() : 0);
    if (dropDownShowsContainer(openMenu)) run([&] { w.pic1J->setVisible(true); });
}

void laySubmenuRows(const ChromeWindow& w, int openMenu, int openItem) {
    const Runner run(true);
    if (w.img2J) run([&] { w.img2J->clearPicture(); });
    const double sx = core::config().ScaleX, sy = core::config().ScaleY;
    const bool demo = w.demonstration();
    const RowParams p{demo ? SimWindow::Demo : SimWindow::Practice, sx, sy, w.pic2J->width()};
    const RowLayout rows = submenuRows(openMenu, openItem, p);
    applyRows(*w.lbl2J, rows, demo ? w.pic2J->left() : 0, demo ? w.pic2J->top() : 0);
}

} // namespace chrome
