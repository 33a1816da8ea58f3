#include "sample/info_pages.h"

#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QStringList>

#include "sample/module_style.h"

namespace sample {

namespace {

using namespace style;

// Page size and the places of the hot areas laid over it (pixels of the
// twip rectangles of the windows that show the pages).
constexpr int kWidth = 798, kHeight = 545;
const QRect kBackButton(488, 508, 109, 33);
const QRect kNextButton(627, 508, 109, 33);
// The strip where the help window's text and switch lie.
const QRect kHelpStrip(8, 490, 462, 52);

struct Page {
    const char* section;
    const char* title;
    QStringList lines;
};

void button(QPainter& p, const QRect& r, const QString& caption) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, kBlueLight);
    g.setColorAt(1, kBlue);
    p.setBrush(g);
    p.setPen(QPen(kBlueDark, 1));
    p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    text(p, r, caption, 14, Qt::white, Qt::AlignCenter, true);
}

const QStringList& moduleTitles() {
    // Launcher rows in order; rows 2/3, 4/5 and 6/7 are the two editions of
    // one subject.
    static const QStringList t = {
        "中文操作系统",       "中文字处理",         "电子表格（2003版）", "电子表格（2007版）",
        "演示文稿（2003版）", "演示文稿（2007版）", "数据库（2003版）",   "数据库（2007版）",
        "互联网应用",         "计算机辅助设计",     "图像处理",           "网页制作",
        "动画制作",           "项目管理",           "办公自动化",         "电子政务",
        "多媒体课件制作",     "计算机网络应用",     "信息检索",
    };
    return t;
}

const Page* pages() {
    static const Page p[16] = {
        {"考试简介", "考试简介",
         {"职称计算机考试是专业技术人员计算机应用能力考试，",
          "考查专业技术人员在实际工作中使用计算机的能力。",
          "考试不分级别，按模块进行，每个模块单独考试、单独发证。",
          "考生可以根据工作需要和自身情况选择考试模块。",
          "本软件是字处理模块的练习与模拟考试系统：",
          "它以截图模拟字处理软件的窗口，逐步判断您的每一次操作，",
          "让您在没有安装字处理软件的电脑上也能完成练习。"}},
        {"考试简介", "考试对象",
         {"凡申报评审或考核专业技术职务任职资格的人员，",
          "一般都需要取得相应数量的计算机应用能力考试合格证。",
          "不同职称层次要求通过的模块数量不同，",
          "具体要求以当地人事考试机构公布的规定为准。",
          "已经取得合格证的模块，在有效期内不必重复考试。"}},
        {"考试简介", "考试科目与模块",
         {"考试共设有二十余个模块，涵盖操作系统、字处理、",
          "电子表格、演示文稿、数据库、互联网应用、图像处理等内容。",
          "同一科目有两个版本的，考生只能选择其中一个版本报考。",
          "本模块考查中文字处理软件的使用，",
          "包括文档的建立与编辑、格式设置、表格、图形和打印等。"}},
        {"考试简介", "考试形式",
         {"考试采用上机操作的形式，在模拟的软件环境中进行。",
          "每道题要求考生完成一项具体操作，",
          "系统记录并判断操作过程，不要求写出答案。",
          "同一操作可以用菜单、工具栏、快捷菜单或快捷键完成，",
          "考试系统一般承认各种正确的操作方法。"}},
        {"考试简介", "考试时间与题量",
         {"每个模块的考试时间为50分钟。",
          "每套试题共40道题，每题2.5分，满分100分。",
          "考试开始后屏幕上显示剩余时间，时间用完时系统自动交卷。",
          "考生可以在题目之间自由切换，也可以标记没有把握的题目，",
          "交卷前再回来检查。"}},
        {"考试简介", "成绩与证书",
         {"每个模块成绩达到60分为合格。",
          "合格成绩由考试机构统一公布，并颁发相应模块的合格证书。",
          "合格证书全国通用，是评聘专业技术职务的依据之一。",
          "成绩不合格的模块可以在下次考试时重新报考。"}},
        {"考试简介", "报名须知",
         {"报名时间和地点由各地人事考试机构确定并提前公布。",
          "考生报名时需要提供身份证件和近期照片，",
          "并选择考试模块和考试时间。",
          "准考证上注明考试时间、考场和座位号，请妥善保管。"}},
        {"考试简介", "考场规则",
         {"考生应提前到达考场，凭准考证和身份证件入场。",
          "考试开始后，请先核对屏幕上显示的考生信息。",
          "考试过程中不得随意关闭考试程序或重新启动计算机；",
          "遇到计算机故障，请举手向监考人员报告。",
          "交卷后请立即离开考场。"}},
        {"考试大纲", "一、文档的基本操作",
         {"启动与退出字处理软件，认识窗口的组成部分；",
          "新建、打开、保存、另存为和关闭文档；",
          "使用不同的视图方式查看文档，调整显示比例；",
          "设置工具栏的显示与隐藏，使用帮助。"}},
        {"考试大纲", "二、文本的编辑与格式",
         {"输入文本和特殊符号，选定、复制、移动和删除文本；",
          "查找与替换，撤销与恢复；",
          "设置字体、字号、字形、颜色和字符间距；",
          "设置段落的对齐方式、缩进、行距和段间距；",
          "项目符号和编号、边框和底纹、格式刷的使用。"}},
        {"考试大纲", "三、表格与图形",
         {"创建表格，插入和删除行、列与单元格；",
          "合并与拆分单元格，调整行高与列宽；",
          "设置表格的边框、底纹和对齐方式，表格的排序与计算；",
          "插入图片、艺术字、文本框和自选图形，设置环绕方式。"}},
        {"考试大纲", "四、页面与高级功能",
         {"页面设置、分页与分节、页眉页脚和页码；",
          "分栏、首字下沉、脚注和尾注；",
          "样式与模板、目录的生成；",
          "邮件合并、修订与批注、文档的保护和打印。"}},
        {"使用说明", "程序界面",
         {"首页列出各单元和各套模拟试卷，",
          "以及每个单元的学习进度和每套试卷的最近成绩。",
          "练习时出现两个窗口：模拟的字处理窗口和题目窗口。",
          "题目窗口显示题目要求，下方是功能按钮，",
          "可以拖动标题栏移动，也可以最小化。"}},
        {"使用说明", "练习与考试",
         {"单元学习：逐题练习，可以随时查看提示或观看演示。",
          "模拟考试：40道题限时50分钟，交卷后显示成绩。",
          "在模拟的窗口中按题目要求操作，",
          "操作正确时系统进入下一步，整道题完成后提示“操作成功！”。",
          "“重做”按钮让当前题目从第一步重新开始。"}},
        {"使用说明", "错题与标识题",
         {"模拟考试交卷后，答错的题目自动记入本套试卷的错题，",
          "在首页点击“错题复习”即可集中练习。",
          "练习中点击“标识”按钮可以标记题目，",
          "标识的题目在首页的“标识题目”中分页列出，",
          "可以逐页练习，也可以移除。"}},
        {"使用说明", "输入法问题",
         {"题目需要输入文字时，程序可以调用您电脑上安装的输入法。",
          "勾选下方的“调用输入法”后，在题目窗口中点击“EN”，",
          "即可选择要使用的输入法；",
          "输入框获得焦点时，程序自动切换到所选的输入法。",
          "如果调用输入法时出现问题，请按下方说明取消调用。"}},
    };
    return p;
}

QImage pageFrame(const QString& section, const QString& title, int page) {
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient g(0, 0, 0, kHeight);
    g.setColorAt(0, QColor(0xF8, 0xFB, 0xFF));
    g.setColorAt(1, QColor(0xE6, 0xEF, 0xF9));
    p.fillRect(img.rect(), g);

    // Heading: the section, the page's title and the page number.
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(24, 16, 104, 30), 6, 6);
    text(p, QRect(24, 16, 104, 30), section, 15, Qt::white, Qt::AlignCenter, true);
    text(p, QRect(144, 12, 460, 38), title, 22, kBlueDark, Qt::AlignVCenter | Qt::AlignLeft, true);
    text(p, QRect(600, 16, 174, 30), QStringLiteral("第 %1 页 / 共 17 页").arg(page), 13, kMuted,
         Qt::AlignVCenter | Qt::AlignRight);
    p.setPen(QPen(kCardLine, 1));
    p.drawLine(24, 56, 774, 56);
    p.drawLine(0, 490, kWidth, 490);

    // The bottom strip stays plain where the help window writes over it.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF, 0xFF, 0xFF));
    p.drawRoundedRect(QRectF(kHelpStrip), 6, 6);
    button(p, kBackButton, QStringLiteral("上一页"));
    button(p, kNextButton, QStringLiteral("下一页"));
    return img;
}

QImage textPage(int page) {
    const Page& pg = pages()[page - 1];
    QImage img = pageFrame(QString::fromUtf8(pg.section), QString::fromUtf8(pg.title), page);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setBrush(Qt::white);
    p.setPen(QPen(kCardLine, 1));
    p.drawRoundedRect(QRectF(40.5, 76.5, 717, 396), 8, 8);
    for (int i = 0; i < pg.lines.size(); ++i)
        text(p, QRect(72, 100 + i * 44, 660, 32), pg.lines[i], 17, kText, Qt::AlignVCenter | Qt::AlignLeft);
    return img;
}

QImage launcherPage() {
    QImage img = pageFrame(QStringLiteral("其它模块"), QStringLiteral("本系列的其它考试模块"), 17);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    // One card per launcher row, inside the row's frame (twips / 15).
    const QStringList& titles = moduleTitles();
    for (int i = 0; i < titles.size(); ++i) {
        const QRect r((360 + (i % 4) * 2865) / 15, (990 + (i / 4) * 1095) / 15, 2655 / 15, 765 / 15);
        p.setBrush(Qt::white);
        p.setPen(QPen(kCardLine, 1));
        p.drawRoundedRect(QRectF(r).adjusted(3.5, 3.5, -3.5, -3.5), 5, 5);
        text(p, r.adjusted(10, 6, -6, -22), titles[i], 14, kBlueDark, Qt::AlignVCenter | Qt::AlignLeft, true);
        text(p, r.adjusted(10, 28, -6, -5), QStringLiteral("点击启动或下载"), 11, kMuted,
             Qt::AlignVCenter | Qt::AlignLeft);
    }
    text(p, QRect(24, 440, 750, 40),
         QStringLiteral("红框：已安装，点击即可启动；灰框：未安装，点击打开下载页面。"), 13, kText,
         Qt::AlignVCenter | Qt::AlignLeft);
    return img;
}

} // namespace

QImage infoPage(int page) {
    if (page == 17) return launcherPage();
    return textPage(page);
}

bool writeInfoPages(const QString& dataDir, QString* err) {
    for (int page = 1; page <= 17; ++page) {
        const QString path = QDir(dataDir).filePath(QStringLiteral("9l00%1.rar").arg(page, 2, 10, QLatin1Char('0')));
        if (!infoPage(page).save(path, "JPG", 90)) {
            if (err) *err = "cannot write " + path;
            return false;
        }
    }
    return true;
}

} // namespace sample
