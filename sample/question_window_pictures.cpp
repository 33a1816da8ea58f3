#include "sample/question_window_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <exception>

#include "sample/picture_set.h"
#include "sample/word_ui.h"

namespace sample {

namespace {

const char* const kCaptions[] = {"上一题", "下一题", "重做", "标记", "选题", "结束练习",
                                 "提示",   "演示",   "交卷", "考生信息", "看答案"};

// Buttons 0-4 sit in the top row, 62 pixels apart; 5-10 in the bottom row
// with more room.
QSize faceSize(int index) { return index <= 4 ? QSize(58, 24) : QSize(66, 24); }

} // namespace

QImage functionFace(int index, FaceState state) {
    const QSize size = faceSize(index);
    QImage img(size, QImage::Format_RGB32);
    img.fill(QColor(240, 240, 240));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, size.height());
    QColor border;
    switch (state) {
    case FaceState::Normal:
        g.setColorAt(0, QColor(246, 250, 255));
        g.setColorAt(1, QColor(190, 214, 246));
        border = QColor(110, 140, 190);
        break;
    case FaceState::Hover:
        g.setColorAt(0, QColor(255, 244, 204));
        g.setColorAt(1, QColor(255, 208, 145));
        border = QColor(0, 0, 128);
        break;
    case FaceState::Pressed:
        g.setColorAt(0, QColor(254, 145, 78));
        g.setColorAt(1, QColor(255, 211, 142));
        border = QColor(0, 0, 128);
        break;
    }
    const QRectF r(0.5, 0.5, size.width() - 1, size.height() - 1);
    p.setPen(border);
    p.setBrush(g);
    p.drawRoundedRect(r, 3, 3);
    p.setPen(Qt::black);
    p.setFont(ui::font(12));
    const QRect text = state == FaceState::Pressed ? img.rect().translated(1, 1) : img.rect();
    p.drawText(text, Qt::AlignCenter, QString::fromUtf8(kCaptions[index]));
    return img;
}

bool writeQuestionWindowPictures(const QString& programDir, const QString& dataDir, QString* err) {
    Q_UNUSED(programDir);  // the window's own pictures are built into the program
    try {
        PictureSet set(dataDir);
        const struct {
            const char* prefix;
            FaceState state;
        } kinds[] = {{"l012", FaceState::Normal}, {"l011", FaceState::Hover}, {"l010", FaceState::Pressed}};
        for (const auto& k : kinds)
            for (int i = 0; i <= 10; ++i)
                set.saveAs(QString::fromLatin1(k.prefix) + QString::number(i).rightJustified(2, u'0'),
                           functionFace(i, k.state), PictureFormat::Bmp);
    } catch (const std::exception& e) {
        if (err) *err = QString::fromUtf8(e.what());
        return false;
    }
    return true;
}

} // namespace sample
