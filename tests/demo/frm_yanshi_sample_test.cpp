// Spot checks of the drawn context menus on the sample module's right-click
// questions: the entries drawn, where the menu and its cascade lie, and the
// entry the pointer reaches.
#include "demo_fixture.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {

using namespace demotest;

demo::DemoMembers& mem() { return demo::demoMembers(); }
int32_t centreX(const Control& c) { return int32_t(roundHalfEven(c.left() + c.width() / 2)); }
int32_t centreY(const Control& c) { return int32_t(roundHalfEven(c.top() + c.height() / 2)); }
QRectF rect(const Control& c) { return QRectF(c.left(), c.top(), c.width(), c.height()); }

// The generated sample module: EXAMSIM_SAMPLE, else sample-module/ in the
// build tree above the test program.
QString sampleDir() {
    const QByteArray env = qgetenv("EXAMSIM_SAMPLE");
    if (!env.isEmpty()) return QString::fromLocal8Bit(env);
    return QDir(QCoreApplication::applicationDirPath() + "/../sample-module").absolutePath();
}

class DemoSampleTest : public DemoTest {
protected:
    // The module's context-menu file and data folder, copied once.
    static void SetUpTestSuite() {
        copy_ = new QTemporaryDir;
        const QString src = sampleDir();
        QDir(copy_->path()).mkpath("data");
        bool ok = QFile::copy(src + "/sMenu.sys", copy_->path() + "/sMenu.sys");
        QString data;
        for (const QFileInfo& fi : QDir(src).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
            if (QFileInfo::exists(fi.filePath() + "/288891.rar")) data = fi.filePath();
        ok = ok && !data.isEmpty();
        for (QDirIterator it(data, QDir::Files); ok && it.hasNext();) {
            it.next();
            ok = QFile::copy(it.filePath(), copy_->path() + "/data/" + it.fileName());
        }
        copied_ = ok;
    }
    static void TearDownTestSuite() {
        delete copy_;
        copy_ = nullptr;
    }
    void SetUp() override {
        DemoTest::SetUp();
        ASSERT_TRUE(copied_) << "no generated sample module in " << qPrintable(sampleDir());
        config().ProgramDir = copy_->path();
        config().DataDir = copy_->path() + "/data/";
        pf->folder = copy_->path();
        session().TextTableFile = config().dataFile("288890");
    }
    // Unit u's step script, with question 1 standing for the question
    // whose steps include a record of `code`.
    void questionWith(int unit, const QString& code) {
        SessionState& s = session();
        s.ScriptFile = config().dataFile(QString("2888%1").arg(20 + unit));
        const QStringList steps = readLines(s.ScriptFile).value_or(QStringList());
        const QStringList questions = readLines(config().dataFile(QString("2888%1").arg(70 + unit))).value_or(QStringList());
        int first = 1;
        for (const QString& q : questions) {
            const int n = val16(q.mid(4, 2));
            for (int i = first; i < first + n && i <= steps.size(); ++i)
                if (steps[i - 1].mid(7, 4) == code) {
                    s.StepStart[1] = int16_t(first);
                    return;
                }
            first += n;
        }
        FAIL() << "no question of unit " << unit << " has a step " << code.toStdString();
    }
    static inline QTemporaryDir* copy_ = nullptr;
    static inline bool copied_ = false;
};

} // namespace

TEST_F(DemoSampleTest, CopyFromTheTextMenu) {
    questionWith(1, "3121");
    FrmYanShi& y = start();
    while (!y.TimerRM.enabled() && running()) d.advance(10);
    ASSERT_TRUE(y.TimerRM.enabled());
    // At the right-click point, inside the window, with the edit entries.
    EXPECT_EQ(y.LRightMMenu.left(), mem().flight.pointerX);
    EXPECT_EQ(y.LRightMMenu.top(), mem().flight.pointerY);
    EXPECT_LE(y.LRightMMenu.left() + y.LRightMMenu.width(), y.width());
    EXPECT_LE(y.LRightMMenu.top() + y.LRightMMenu.height(), y.height() - 600);
    QStringList group1;
    for (int j = 0; j <= 9; ++j)
        if (y.LRM2[j].visible()) group1 << y.LRM2[j].caption();
    EXPECT_EQ(group1, QStringList({"剪切(T)", "复制(C)", "粘贴(P)"}));
    EXPECT_TRUE(y.LRFGX[0].visible());
    EXPECT_EQ(y.LRMJL[7].caption(), "同义词(Y)");
    EXPECT_EQ(mem().flight.targetX, centreX(y.LRM2[1]));
    EXPECT_EQ(mem().flight.targetY, centreY(y.LRM2[1]));
    EXPECT_EQ(y.Shape1.left(), y.LRightMMenu.left());
    EXPECT_EQ(y.Shape1.width(), y.LRightMMenu.width());

    const QRectF band = rect(y.Shape1);
    while (step() == 1 && running()) d.advance(10);
    EXPECT_EQ(step(), 2);
    EXPECT_TRUE(band.contains(mem().flight.pointerX, mem().flight.pointerY)) << "the pointer stops on 复制's row";
    EXPECT_LT(runToEnd(), 5000);
}

TEST_F(DemoSampleTest, SynonymFromTheCascade) {
    questionWith(1, "3670");
    FrmYanShi& y = start(2);
    while (!y.TimerRS.enabled() && running()) d.advance(10);
    ASSERT_TRUE(y.TimerRS.enabled());
    EXPECT_TRUE(y.LRightMMenu.visible());
    EXPECT_EQ(y.LRMJL[7].caption(), "同义词(Y)");
    // The cascade beside the caption row, overlapping the menu by 60 twips.
    EXPECT_EQ(y.LRightSub.left(), y.LRightMMenu.left() + y.LRightMMenu.width() - 60);
    EXPECT_EQ(y.LRightSub.top(), y.LRMJL[7].top());
    QStringList entries;
    for (int j = 0; j <= 9; ++j)
        if (y.LRS[j].visible()) entries << y.LRS[j].caption();
    EXPECT_EQ(entries, QStringList({"阅读", "观看", "游览", "同义词库(T)..."}));
    EXPECT_TRUE(y.LRSFgx[0].visible());
    EXPECT_EQ(y.LRS[4].top(), y.LRightSub.top() + 135 + 3 * 270 + 135);
    EXPECT_EQ(y.Shape1.top(), y.LRS[0].top() - 60);
    EXPECT_EQ(mem().flight.targetX, centreX(y.LRS[0]));
    EXPECT_EQ(mem().flight.targetY, centreY(y.LRS[0]));

    const QRectF band = rect(y.Shape1);
    while (step() == 1 && running()) d.advance(10);
    EXPECT_EQ(step(), 2);
    EXPECT_TRUE(band.contains(mem().flight.pointerX, mem().flight.pointerY)) << "the pointer stops on 阅读's row";
    EXPECT_LT(runToEnd(), 10000);
}
