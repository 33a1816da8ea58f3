#include "sample/exam_pictures.h"

#include <QLinearGradient>
#include <QPainter>

#include "sample/module_style.h"

namespace sample {

namespace {

using namespace style;

// Twips of the windows' design at 15 per pixel.
constexpr int px(int twips) { return twips / 15; }

void card(QPainter& p, const QRectF& r) {
    p.setBrush(kCard);
    p.setPen(QPen(kCardLine, 1));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
}

// The page: a soft gradient, a title band with the page's title.
QImage page(const QString& title, const QString& subtitle) {
    QImage img(800, 600, QImage::Format_RGB32);
    img.fill(kPale);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient body(0, 0, 0, 600);
    body.setColorAt(0, QColor(0xFB, 0xFD, 0xFF));
    body.setColorAt(1, QColor(0xDD, 0xEA, 0xF7));
    p.fillRect(img.rect(), body);
    QLinearGradient band(0, 0, 0, 96);
    band.setColorAt(0, kBlue);
    band.setColorAt(1, kBlueDark);
    p.fillRect(QRect(0, 0, 800, 96), band);
    text(p, QRect(0, 18, 800, 36), title, 26, Qt::white, Qt::AlignCenter, true);
    text(p, QRect(0, 58, 800, 22), subtitle, 14, QColor(0xD6, 0xE7, 0xF8));
    p.setPen(kCardLine);
    p.drawLine(0, 575, 800, 575);
    text(p, QRect(0, 578, 800, 20), QStringLiteral("Tesmar 职称计算机考试练习系统 · 样例题库"), 12, kMuted);
    return img;
}

// A drawn button under a transparent hot area (left, top, width, height in
// twips).
void button(QPainter& p, int l, int t, int w, int h, const QString& caption) {
    const QRectF r(px(l), px(t), px(w), px(h));
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(0x5B, 0x94, 0xD3));
    g.setColorAt(1, kBlue);
    p.setBrush(g);
    p.setPen(QPen(kBlueDark, 1));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    text(p, r.toRect(), caption, 15, Qt::white, Qt::AlignCenter, true);
}

// A sunken field around an entry box (twips), its caption right-aligned
// before it.
void field(QPainter& p, int l, int t, int w, int h, const QString& caption) {
    const QRect r(px(l) - 2, px(t) - 2, px(w) + 4, px(h) + 4);
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(0x8A, 0xA4, 0xC4), 1));
    p.drawRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5));
    text(p, QRect(r.left() - 130, r.top(), 122, r.height()), caption, 15, kText, Qt::AlignVCenter | Qt::AlignRight,
         true);
}

// A caption right-aligned before a value label at (left, top) twips.
void caption(QPainter& p, int l, int t, const QString& s) {
    text(p, QRect(px(l) - 130, px(t) - 2, 124, 22), s, 15, kText, Qt::AlignVCenter | Qt::AlignRight);
}

} // namespace

QImage loginPage() {
    QImage img = page(QStringLiteral("职称计算机考试 模拟考试系统"), QStringLiteral("中文字处理 Word 2003 · 考生登录"));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    card(p, QRectF(170, 200, 460, 230));
    text(p, QRect(170, 212, 460, 26), QStringLiteral("请输入座位号和身份证号，然后点“登录”"), 15, kBlueDark);
    text(p, QRect(170, 240, 460, 22), QStringLiteral("（模拟考试不核对考生名单）"), 13, kMuted);
    field(p, 5070, 4440, 3255, 360, QStringLiteral("座位号："));
    field(p, 5070, 4905, 3255, 360, QStringLiteral("身份证号："));
    button(p, 4275, 5640, 1335, 495, QStringLiteral("登 录"));
    button(p, 6660, 5640, 1335, 495, QStringLiteral("退 出"));
    text(p, QRect(100, 470, 600, 22), QStringLiteral("考试时间 50 分钟，共 40 题，每题 2.5 分。"), 14, kText);
    return img;
}

QImage confirmationPage() {
    QImage img = page(QStringLiteral("职称计算机考试 模拟考试系统"), QStringLiteral("考生信息确认"));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    card(p, QRectF(60, 150, 680, 230));
    caption(p, 4080, 2610, QStringLiteral("姓    名："));
    caption(p, 4080, 2940, QStringLiteral("座 位 号："));
    caption(p, 4080, 3300, QStringLiteral("场    次："));
    p.setPen(QPen(kCardLine, 1));
    p.drawLine(80, 262, 720, 262);
    caption(p, 2505, 4215, QStringLiteral("报考科目："));
    caption(p, 2505, 4590, QStringLiteral("身份证号："));
    caption(p, 2505, 4950, QStringLiteral("档 案 号："));
    caption(p, 2505, 5250, QStringLiteral("考试日期："));
    // The progress strip and its frame.
    text(p, QRect(74, 500, 689, 24), QStringLiteral("正在进入考试，请稍候……"), 15, kBlueDark,
         Qt::AlignVCenter | Qt::AlignLeft, true);
    const QRect strip(px(1110) - 2, px(7980) - 2, px(10335) + 4, px(180) + 4);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x8A, 0xA4, 0xC4), 1));
    p.drawRect(QRectF(strip).adjusted(0.5, 0.5, -0.5, -0.5));
    return img;
}

QImage scorePage() {
    QImage img = page(QStringLiteral("职称计算机考试 模拟考试系统"), QStringLiteral("考试结束 · 成绩报告"));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    card(p, QRectF(150, 150, 500, 400));
    text(p, QRect(150, 166, 500, 28), QStringLiteral("本场考试已结束，试卷已交。"), 18, kBlueDark, Qt::AlignCenter, true);
    text(p, QRect(150, 200, 500, 44), QStringLiteral("可以复习本套全部试题，或只复习答错的题；\n复习时可以看提示和操作演示。"),
         14, kText);
    // Under the grid.
    const int gridBottom = px(5520) + px(10 * 430 + 30) * 4 / 10;
    text(p, QRect(150, gridBottom + 14, 500, 20), QStringLiteral("绿色：答对　　红色：答错　　指向题号可看题目"), 13,
         kMuted);
    return img;
}

bool writeExamPictures(const QString& dataDir, QString* err) {
    const struct {
        const char* name;
        QImage image;
    } pages[] = {{"9l0056", loginPage()}, {"9l0057", confirmationPage()}, {"9l0058", scorePage()}};
    for (const auto& pg : pages) {
        const QString path = dataDir + "/" + QString::fromLatin1(pg.name) + ".rar";
        if (!pg.image.save(path, "JPG", 92)) {
            if (err) *err = "cannot write " + path;
            return false;
        }
    }
    return true;
}

} // namespace sample
