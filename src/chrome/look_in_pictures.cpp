// The look-in list of the file dialogs: rows of the tree of places, the
// open list and the closed box.
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <vector>

#include "chrome/design_pictures.h"

namespace chrome {

namespace {

struct Place {
    const char* text;
    int level;
    char icon;  // r recent, d desktop, f folder, c computer, a floppy, h disk, o optical, n network
};
constexpr Place kPlaces[14] = {
    {"我最近的文档", 0, 'r'}, {"桌面", 0, 'd'},          {"我的文档", 1, 'f'},        {"我的电脑", 1, 'c'},
    {"3.5 软盘 (A:)", 2, 'a'}, {"本地磁盘 (C:)", 2, 'h'}, {"本地磁盘 (D:)", 2, 'h'},   {"本地磁盘 (E:)", 2, 'h'},
    {"DVD 驱动器 (F:)", 2, 'o'}, {"共享文档", 2, 'f'},    {"Administrator 的文档", 2, 'f'}, {"可移动磁盘 (G:)", 2, 'h'},
    {"考生文件夹", 2, 'f'},    {"网上邻居", 1, 'n'},
};
constexpr int kRowW = 212, kRowH = 16;

QFont listFont() {
    QFont f(QStringLiteral("WenQuanYi Micro Hei"));
    f.setPixelSize(12);
    return f;
}

void placeIcon(QPainter& p, int x, int y, char kind) {
    p.save();
    p.setPen(QColor(90, 90, 90));
    switch (kind) {
    case 'f':
        p.setBrush(QColor(248, 214, 100));
        p.drawRect(x + 1, y + 4, 13, 9);
        p.drawRect(x + 1, y + 2, 5, 2);
        break;
    case 'd':
        p.setBrush(QColor(58, 110, 200));
        p.drawRect(x + 1, y + 2, 13, 10);
        break;
    case 'c':
        p.setBrush(QColor(150, 190, 235));
        p.drawRect(x + 2, y + 2, 11, 8);
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(x + 4, y + 11, 7, 2);
        break;
    case 'a':
        p.setBrush(QColor(60, 60, 60));
        p.drawRect(x + 2, y + 2, 11, 11);
        p.fillRect(x + 5, y + 3, 5, 3, Qt::white);
        break;
    case 'o':
        p.setBrush(QColor(220, 220, 230));
        p.drawEllipse(x + 2, y + 2, 11, 11);
        break;
    case 'n':
        p.setBrush(QColor(100, 170, 90));
        p.drawEllipse(x + 2, y + 2, 11, 11);
        break;
    case 'r':
        p.setBrush(QColor(230, 200, 120));
        p.drawRect(x + 2, y + 3, 11, 10);
        p.setPen(QColor(200, 60, 40));
        p.drawLine(x + 7, y + 5, x + 7, y + 9);
        break;
    default:
        p.setBrush(QColor(205, 205, 205));
        p.drawRoundedRect(x + 1, y + 4, 14, 8, 2, 2);
        p.fillRect(x + 10, y + 8, 2, 2, QColor(60, 200, 60));
        break;
    }
    p.restore();
}

// Row i as the list draws it: icon and name indented by its level; a
// highlighted row in the selection colours.
void paintPlace(QPainter& p, int x0, int y0, int width, int i, bool highlighted) {
    const QRect r(x0, y0, width, kRowH);
    p.fillRect(r, highlighted ? QColor(49, 106, 197) : Qt::white);
    const int x = x0 + 2 + 10 * kPlaces[i].level;
    placeIcon(p, x, y0, kPlaces[i].icon);
    p.setFont(listFont());
    p.setPen(highlighted ? Qt::white : Qt::black);
    p.drawText(QRect(x + 19, y0, width - x - 19, kRowH), Qt::AlignVCenter | Qt::AlignLeft,
               QString::fromUtf8(kPlaces[i].text));
}

} // namespace

const QImage& lookInRowPicture(int i) {
    static const std::vector<QImage> rows = [] {
        std::vector<QImage> v;
        for (int k = 0; k < 14; ++k) {
            QImage img(kRowW, kRowH, QImage::Format_RGB32);
            QPainter p(&img);
            paintPlace(p, 0, 0, kRowW, k, true);
            p.end();
            v.push_back(img);
        }
        return v;
    }();
    return rows.at(size_t(i));
}

// The open list: the closed box on top (22 pixels), the 14 rows below.
const QImage& lookInListPicture() {
    static const QImage img = [] {
        QImage i(216, 248, QImage::Format_RGB32);
        i.fill(QColor(236, 233, 216));
        QPainter p(&i);
        const QColor border(127, 157, 185);
        p.fillRect(QRect(0, 0, 216, 22), Qt::white);
        p.setPen(border);
        p.drawRect(0, 0, 215, 21);
        // drop button
        p.fillRect(QRect(199, 2, 15, 18), QColor(193, 211, 251));
        p.setPen(Qt::black);
        p.setBrush(Qt::black);
        p.drawPolygon(QPolygon({QPoint(203, 9), QPoint(210, 9), QPoint(206, 13)}));
        p.setBrush(Qt::NoBrush);
        // list panel
        p.fillRect(QRect(0, 22, 216, 226), Qt::white);
        p.setPen(Qt::black);
        p.drawRect(0, 22, 215, 225);
        for (int k = 0; k < 14; ++k) paintPlace(p, 1, 23 + kRowH * k, 214, k, false);
        p.end();
        return i;
    }();
    return img;
}

// The closed box's first picture (83 x 16): the place shown at load.
const QImage& lookInBoxPicture() {
    static const QImage img = [] {
        QImage i(83, 16, QImage::Format_RGB32);
        QPainter p(&i);
        paintPlace(p, 0, 0, 83, 2, false);
        p.end();
        return i;
    }();
    return img;
}

double lookInRowShift(int i) {
    if (i == 0 || i == 1) return 30;
    if (i == 2 || i == 3 || i == 13) return -120;
    return -270;
}

} // namespace chrome
