#include "chrome/zones.h"

#include "core/text.h"

namespace chrome {

Zone zoneOf(int i) {
    if (i >= 1 && i <= 9) return Zone::MenuBar;
    if (i >= 11 && i <= 31) return Zone::DrawingBar;
    if (i >= 32 && i <= 40) return Zone::ExtraArea;
    if (i >= 41 && i <= 88) return Zone::Toolbar;
    if (i >= 89 && i <= 99) return Zone::ChartBar;
    return Zone::None;
}

bool opensDropDown(int i) {
    switch (zoneOf(i)) {
    case Zone::MenuBar: return true;
    case Zone::DrawingBar: return i == 11 || i == 13 || (i >= 24 && i <= 31);
    case Zone::ExtraArea: return i == 32 || i == 36 || i == 37;
    case Zone::Toolbar:
        return i == 48 || i == 64 || i == 68 || i == 69 || i == 70 || i == 73 || i == 76 || i == 85 || i == 86;
    case Zone::ChartBar: return i >= 89 && i <= 91;
    default: return false;
    }
}

QString hoverPictureCode(int index) { return core::padDigits(index, 2) + QStringLiteral("0088"); }
QString pressedPictureCode(int index) { return core::padDigits(index, 2) + QStringLiteral("0099"); }
QString dropDownPictureCode(int index) { return core::padDigits(index, 2) + QStringLiteral("0077"); }
QString extraPictureCode(int index) { return core::padDigits(index, 2) + QStringLiteral("0000"); }

QString chromePictureFile(const QString& examDataPath, const QString& code) {
    return core::normalizePath(examDataPath + code + QStringLiteral(".rar"));
}

QString hotSpotToolTip(int index) {
    static const char* const drawing[] = {  // 14-31
        "直线", "箭头", "矩形", "椭圆", "文本框", "竖排文本框",
        "插入艺术字", "插入组织结构图或其它图示", "插入剪贴画", "插入文件中的图片", "填充颜色", "线条颜色",
        "字体颜色", "线型", "虚线线型", "箭头样式", "阴影样式", "三维效果样式",
    };
    static const char* const toolbar[] = {  // 41-88
        "新建", "打开", "保存", "(自由访问的)权限", "电子邮件", "打印",
        "打印预览", "中文简繁转换", "拼写和语法", "信息检索", "剪切", "复制",
        "粘贴", "格式刷", "撤消", "恢复", "插入超链接", "表格和边框",
        "插入表格", "插入 Microsoft Excel 工作表", "分栏", "更改文字方向", "文档结构图", "显示比例",
        "Microsoft Office Word 帮助", "阅读", "格式窗格", "样式", "字体", "字号",
        "加粗", "倾斜", "下划线", "字符边框", "字符底纹", "字符缩放",
        "两端对齐", "居中对齐", "右对齐", "分散对齐", "编号", "项目符号",
        "减少缩进量", "增加缩进量", "突出显示(非突出显示)", "字体颜色", "拼音指南", "带圈字符",
    };
    if (index >= 14 && index <= 31) return QString::fromUtf8(drawing[index - 14]);
    if (index >= 41 && index <= 88) return QString::fromUtf8(toolbar[index - 41]);
    return QString();
}

} // namespace chrome
