#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "chrome/layout.h"
#include "chrome/picture_cache.h"
#include "chrome/zones.h"
#include "core/state.h"
#include "support/driver.h"

using namespace core;

namespace {

// A window with the chrome controls, laid out either as the practice window
// (hot-spots inside their bars) or as the demonstration (hot-spots on the
// window, no chart bar, hot-spots 0-88).
struct ChromeForm : Form {
    chrome::ChromeWindow w;
    explicit ChromeForm(bool demo) : Form("ChromeForm") {
        auto bar = [&](const char* name) {
            Control& c = add(demo ? Kind::Image : Kind::PictureBox, name);
            c.move(0, 0, 12000, 800);
            return &c;
        };
        w.picMenu = bar("PicMenu");
        w.picTool = bar("PicTool");
        w.picHui = bar("PicHui");
        w.picElse = bar("PicElse");
        if (!demo) w.picTuBiao = bar("PicTuBiao");
        w.pic1J = &add(Kind::PictureBox, "Pic1J");
        w.pic2J = &add(Kind::PictureBox, "Pic2J");
        w.picList = &add(Kind::PictureBox, "PicList");
        auto img = [&](const char* name, Control* in) { return &add(Kind::Image, name, demo ? nullptr : in); };
        w.imgMenu = img("ImgMenu", w.picMenu);
        w.imgTool = img("ImgTool", w.picTool);
        w.imgHui = img("ImgHui", w.picHui);
        w.imgElse = img("ImgElse", w.picElse);
        if (!demo) w.imgTuBiao = img("ImgTuBiao", w.picTuBiao);
        for (int i = 0; i <= (demo ? 88 : 99); ++i) {
            Control* in = nullptr;
            if (!demo) {
                switch (chrome::zoneOf(i)) {
                case chrome::Zone::MenuBar: in = w.picMenu; break;
                case chrome::Zone::DrawingBar: in = w.picHui; break;
                case chrome::Zone::Toolbar: in = w.picTool; break;
                case chrome::Zone::ChartBar: in = w.picTuBiao; break;
                default: in = i == 10 ? w.picMenu : w.picElse;
                }
            }
            addElement(Kind::Label, "LblZHU", i, in).move(0, 0, 495, 375);
        }
        w.hotSpots = &array("LblZHU");
        w.drawingBarTop = demo ? 8280 : 8295;
        w.hotSpotsOnWindow = demo;
        w.resumeAfterErrors = !demo;
    }
};

struct Expect {
    int index;
    double left, top, width, height;
};

void checkAll(const ControlArray& hs, const std::vector<Expect>& want, double dx = 0, double dy = 0) {
    for (const auto& e : want) {
        const Control& c = hs[e.index];
        EXPECT_DOUBLE_EQ(c.left(), e.left + dx) << "left of " << e.index;
        EXPECT_DOUBLE_EQ(c.top(), e.top + dy) << "top of " << e.index;
        EXPECT_DOUBLE_EQ(c.width(), e.width) << "width of " << e.index;
        EXPECT_DOUBLE_EQ(c.height(), e.height) << "height of " << e.index;
    }
}

// The listings at scale 1.
std::vector<Expect> menuBar() {
    std::vector<Expect> v;
    const double lefts[] = {135, 1005, 1875, 2745, 3615, 4485, 5355, 6225, 7095};
    for (int i = 1; i <= 9; ++i) v.push_back({i, lefts[i - 1], 0, 870, 270});
    return v;
}

std::vector<Expect> toolbars() {
    const double row1[] = {150,  495,  840,  1185, 1530, 1965, 2310, 2745, 3255, 3600, 4035, 4380, 4725,
                           5070, 5505, 6015, 6615, 6960, 7305, 7650, 8085, 8430, 8865, 9210, 10125, 10560};
    const double row2[] = {150,  495,  1755, 3645, 4545, 4890, 5235, 5745, 6090, 6435, 7035,
                           7380, 7725, 8070, 8505, 8850, 9195, 9540, 9975, 10485, 10995, 11340};
    std::vector<Expect> v;
    for (int i = 41; i <= 66; ++i) v.push_back({i, row1[i - 41], 15, 345, 330});
    for (int i = 67; i <= 88; ++i) v.push_back({i, row2[i - 67], 405, 345, 330});
    for (auto& e : v) {
        switch (e.index) {
        case 48: case 55: case 56: case 73: case 76: case 85: case 86: e.width = 510; break;
        case 64: e.width = 915; e.top = 30; break;
        case 66: e.width = 1020; break;
        case 68: e.width = 1260; e.top = 420; break;
        case 69: e.width = 1890; e.top = 420; break;
        case 70: e.width = 810; e.top = 420; break;
        default: break;
        }
    }
    return v;
}

std::vector<Expect> drawingBar() {
    std::vector<Expect> v = {{11, 150, 60, 870, 270}, {12, 1020, 30, 345, 330}, {13, 1455, 60, 1230, 270}};
    for (int i = 14; i <= 23; ++i) v.push_back({i, 2685 + (i - 14) * 345.0, 30, 345, 330});
    for (int i = 24; i <= 26; ++i) v.push_back({i, 6225 + (i - 24) * 510.0, 30, 510, 330});
    for (int i = 27; i <= 31; ++i) v.push_back({i, 7755 + (i - 27) * 345.0, 30, 345, 330});
    return v;
}

std::vector<Expect> chartBar() {
    std::vector<Expect> v = {{89, 1755, 30, 870, 270}, {90, 2625, 30, 870, 270}, {91, 0, 390, 2400, 285}};
    const double lefts[] = {2400, 2835, 3270, 3705, 4050, 4485, 4920, 5265};
    for (int i = 92; i <= 99; ++i) v.push_back({i, lefts[i - 92], 375, 345, 330});
    return v;
}

struct LayoutTest : ::testing::Test {
    void SetUp() override { resetSharedState(); }
    void TearDown() override { resetSharedState(); }
};

} // namespace

TEST_F(LayoutTest, PracticeWindowRectanglesAtScaleOne) {
    testsupport::Driver d;
    ChromeForm f(false);
    f.w.pic1J->setVisible(true);
    f.w.pic2J->setVisible(true);
    f.w.imgMenu->setPicture(Picture(QImage(4, 4, QImage::Format_RGB32)));
    chrome::ToolCSH(f.w);

    const ControlArray& hs = *f.w.hotSpots;
    checkAll(hs, menuBar());
    checkAll(hs, toolbars());
    checkAll(hs, drawingBar());
    checkAll(hs, chartBar());
    EXPECT_DOUBLE_EQ(hs[88].left() + hs[88].width(), 11685);
    EXPECT_DOUBLE_EQ(hs[66].left() + hs[66].width(), 11580);
    EXPECT_DOUBLE_EQ(hs[31].left() + hs[31].width(), 9480);
    EXPECT_DOUBLE_EQ(hs[49].left(), hs[48].left() + hs[48].width());  // no gap after the wide button
    EXPECT_DOUBLE_EQ(hs[46].left(), hs[45].left() + hs[45].width() + 90);

    // Bars, and what ToolCSH closes and clears.
    EXPECT_DOUBLE_EQ(f.w.picMenu->top(), 420);
    EXPECT_DOUBLE_EQ(f.w.picTool->top(), 750);
    EXPECT_DOUBLE_EQ(f.w.picHui->top(), 8295);
    EXPECT_DOUBLE_EQ(f.w.picTuBiao->left(), 5640);
    EXPECT_DOUBLE_EQ(f.w.picTuBiao->top(), 390);
    EXPECT_FALSE(f.w.pic1J->visible());
    EXPECT_FALSE(f.w.pic2J->visible());
    EXPECT_TRUE(f.w.imgMenu->picture().isNull());

    // Hot-spots 0, 10 and 32-40 are not laid out.
    for (int i : {0, 10, 32, 40}) {
        EXPECT_DOUBLE_EQ(hs[i].width(), 495) << i;
        EXPECT_DOUBLE_EQ(hs[i].left(), 0) << i;
    }
}

TEST_F(LayoutTest, ScaledLayoutMultipliesDesignValues) {
    testsupport::Driver d;
    config().ScaleX = 1.25;
    config().ScaleY = 0.8;
    ChromeForm f(false);
    chrome::ToolCSH(f.w);
    const ControlArray& hs = *f.w.hotSpots;
    EXPECT_DOUBLE_EQ(hs[2].left(), 1256.25);
    EXPECT_DOUBLE_EQ(hs[2].width(), 1087.5);
    EXPECT_DOUBLE_EQ(hs[2].top(), 0);
    EXPECT_DOUBLE_EQ(hs[2].height(), 270 * 0.8);
    EXPECT_DOUBLE_EQ(f.w.picTool->top(), 600);
    EXPECT_DOUBLE_EQ(f.w.picTuBiao->left(), 5640 * 1.25);
    for (auto all : {menuBar(), toolbars(), drawingBar(), chartBar()})
        for (const auto& e : all) {
            EXPECT_NEAR(hs[e.index].left(), e.left * 1.25, 1e-9) << e.index;
            EXPECT_NEAR(hs[e.index].top(), e.top * 0.8, 1e-9) << e.index;
            EXPECT_NEAR(hs[e.index].width(), e.width * 1.25, 1e-9) << e.index;
            EXPECT_NEAR(hs[e.index].height(), e.height * 0.8, 1e-9) << e.index;
        }
}

TEST_F(LayoutTest, DemonstrationAddsBarOriginOnceAndHasNoChartBar) {
    testsupport::Driver d;
    ChromeForm f(true);
    chrome::ToolCSH(f.w);
    chrome::ToolCSH(f.w);  // a second run gives the same window coordinates
    const ControlArray& hs = *f.w.hotSpots;
    checkAll(hs, menuBar(), 0, 420);
    checkAll(hs, toolbars(), 0, 750);
    checkAll(hs, drawingBar(), 0, 8280);
    EXPECT_DOUBLE_EQ(hs[64].top(), 780);
    EXPECT_DOUBLE_EQ(hs[11].top(), 8340);
    EXPECT_FALSE(hs.exists(89));
    EXPECT_DOUBLE_EQ(f.w.picHui->top(), 8280);
}

TEST_F(LayoutTest, DemonstrationLayoutStopsAtFirstErrorPracticeGoesOn) {
    testsupport::Driver d;
    // Without hot-spot 5 the demonstration's layout ends there; the
    // practice window's skips the failing statements and goes on.
    ChromeForm demo(true);
    demo.w.hotSpots->unload(5);
    EXPECT_THROW(chrome::ToolCSH(demo.w), RuntimeError);
    EXPECT_DOUBLE_EQ((*demo.w.hotSpots)[41].width(), 495);

    ChromeForm practice(false);
    practice.w.hotSpots->unload(5);
    chrome::ToolCSH(practice.w);
    EXPECT_DOUBLE_EQ((*practice.w.hotSpots)[6].left(), 4485);
    EXPECT_DOUBLE_EQ((*practice.w.hotSpots)[99].left(), 5265);
}

TEST_F(LayoutTest, FrmCshKeepsPreOpenedDropDowns) {
    testsupport::Driver d;
    ChromeForm f(false);
    struct Case {
        int16_t open;
        bool dropDownStays;
        int16_t after;
    } cases[] = {{0, false, 0}, {5, false, 0}, {33, true, 33}, {34, true, 34}, {35, false, 0}};
    for (const auto& c : cases) {
        f.w.pic1J->setVisible(true);
        f.w.pic2J->setVisible(true);
        f.w.picList->setHeight(3000);
        for (Control* img : {f.w.imgMenu, f.w.imgTool, f.w.imgHui, f.w.imgElse, f.w.imgTuBiao})
            img->setPicture(Picture(QImage(2, 2, QImage::Format_RGB32)));
        int16_t open = c.open;
        chrome::frmCsh(f.w, open);
        EXPECT_EQ(open, c.after) << c.open;
        EXPECT_EQ(f.w.pic1J->visible(), c.dropDownStays) << c.open;
        EXPECT_FALSE(f.w.pic2J->visible());
        EXPECT_DOUBLE_EQ(f.w.picList->height(), 330);
        for (Control* img : {f.w.imgMenu, f.w.imgTool, f.w.imgHui, f.w.imgElse, f.w.imgTuBiao})
            EXPECT_TRUE(img->picture().isNull());
    }
}

TEST_F(LayoutTest, ElseToolCshParksExtraAreaHotSpots) {
    testsupport::Driver d;
    ChromeForm f(false);
    f.w.picElse->setVisible(true);
    chrome::ElseToolCSH(f.w);
    for (int i = 32; i <= 40; ++i) {
        const Control& c = (*f.w.hotSpots)[i];
        EXPECT_EQ(c.left() + c.top() + c.width() + c.height(), 0) << i;
    }
    EXPECT_DOUBLE_EQ((*f.w.hotSpots)[0].width(), 495);
    EXPECT_FALSE(f.w.picElse->visible());
}

TEST_F(LayoutTest, ElseToolCshOfTheDemonstration) {
    testsupport::Driver d;
    QTemporaryDir dir;
    chrome::chromePictures().clear();
    auto pic = [&](const char* code, int w, int h) {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(Qt::white);
        ASSERT_TRUE(img.save(dir.filePath(QString::fromLatin1(code) + ".rar"), "BMP"));
    };
    pic("340000", 40, 30);
    pic("370000", 22, 57);
    pic("330077", 150, 150);
    ChromeForm f(true);
    f.w.examDataPath = dir.path() + "/";
    auto line = [](const char* code, int x, int y) {
        QString l(212, u'0');
        l.replace(85, 3, QString::fromLatin1(code));
        l.replace(95, 5, QString::number(x).rightJustified(5, u'0'));
        l.replace(101, 4, QString::number(y).rightJustified(4, u'0'));
        return l;
    };
    Control& h33 = (*f.w.hotSpots)[33];
    auto& hs = *f.w.hotSpots;

    // 34: a plain extra picture at the record's place, no drop-down.
    f.w.pic1J->setVisible(false);
    EXPECT_EQ(chrome::ElseToolCSH(f.w, line("H34", 1500, 900)), 0);
    EXPECT_TRUE(f.w.picElse->visible());
    EXPECT_FALSE(f.w.pic1J->visible());
    EXPECT_EQ(f.w.picElse->picture().widthPixels(), 40);
    EXPECT_DOUBLE_EQ(hs[34].width(), 0) << "no hot-spot over the whole picture";
    EXPECT_DOUBLE_EQ(hs[34].left(), 1500) << "hot-spots at the extra area's corner";
    EXPECT_DOUBLE_EQ(hs[34].top(), 900);
    // 37 at the record's place; 36 and 37 have their sizes on every step.
    chrome::ElseToolCSH(f.w, line("H37", 3000, 600));
    EXPECT_DOUBLE_EQ(f.w.picElse->left(), 3000);
    EXPECT_DOUBLE_EQ(f.w.picElse->top(), 600);
    for (const char* code : {"H37", "000", "H33"}) {
        chrome::ElseToolCSH(f.w, line(code, 3000, 600));
        EXPECT_DOUBLE_EQ(hs[36].width(), 870) << code;
        EXPECT_DOUBLE_EQ(hs[36].height(), 270) << code;
        EXPECT_DOUBLE_EQ(hs[37].width(), 330) << code;
        EXPECT_DOUBLE_EQ(hs[37].height(), 855) << code;
    }
    // 33: the drop-down pre-opened at the record's place, a 30 x 30 hot-spot.
    EXPECT_TRUE(f.w.pic1J->visible());
    EXPECT_FALSE(f.w.picElse->visible());
    EXPECT_DOUBLE_EQ(f.w.pic1J->left(), 3000);
    EXPECT_DOUBLE_EQ(h33.width(), 30);
    // 32 at its fixed place with a 2655 x 300 hot-spot.
    chrome::ElseToolCSH(f.w, line("H32", 0, 0));
    EXPECT_DOUBLE_EQ(hs[32].left(), 9090);
    EXPECT_DOUBLE_EQ(hs[32].width(), 2655);
    EXPECT_DOUBLE_EQ(hs[32].height(), 300);
    chrome::chromePictures().clear();
}

TEST(Zones, IndexRangesPictureCodesAndTooltips) {
    using chrome::Zone;
    struct Case {
        int index;
        Zone zone;
    } cases[] = {{0, Zone::None},     {1, Zone::MenuBar},    {9, Zone::MenuBar},   {10, Zone::None},
                 {11, Zone::DrawingBar}, {31, Zone::DrawingBar}, {32, Zone::ExtraArea}, {40, Zone::ExtraArea},
                 {41, Zone::Toolbar}, {88, Zone::Toolbar},   {89, Zone::ChartBar}, {99, Zone::ChartBar},
                 {100, Zone::None},   {-1, Zone::None}};
    for (const auto& c : cases) EXPECT_EQ(chrome::zoneOf(c.index), c.zone) << c.index;

    EXPECT_EQ(chrome::hoverPictureCode(5), "050088");
    EXPECT_EQ(chrome::pressedPictureCode(41), "410099");
    EXPECT_EQ(chrome::dropDownPictureCode(86), "860077");
    EXPECT_EQ(chrome::chromePictureFile("/p/examdata/", "050088"), "/p/examdata/050088.rar");

    EXPECT_EQ(chrome::hotSpotToolTip(26), QString::fromUtf8("字体颜色"));
    EXPECT_EQ(chrome::hotSpotToolTip(86), QString::fromUtf8("字体颜色"));
    EXPECT_EQ(chrome::hotSpotToolTip(14), QString::fromUtf8("直线"));
    EXPECT_EQ(chrome::hotSpotToolTip(60), QString::fromUtf8("插入 Microsoft Excel 工作表"));
    EXPECT_EQ(chrome::hotSpotToolTip(88), QString::fromUtf8("带圈字符"));
    for (int i : {0, 1, 9, 10, 11, 13, 32, 40, 89, 99}) EXPECT_TRUE(chrome::hotSpotToolTip(i).isEmpty()) << i;
}
