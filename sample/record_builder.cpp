#include "sample/record_builder.h"

namespace sample {

QString digits(long value, int width) {
    if (value < 0) throw RecordError("negative value in a record field");
    QString s = QString::number(value);
    if (s.size() > width)
        throw RecordError(QStringLiteral("value %1 does not fit %2 digits").arg(value).arg(width));
    return s.rightJustified(width, u'0');
}

namespace {

QString twips(int px, int width) { return digits(long(px) * 15, width); }

QString fixed(const QString& text, int width, const char* what) {
    if (text.size() != width)
        throw RecordError(QStringLiteral("field %1 must be %2 characters: '%3'")
                              .arg(QLatin1String(what)).arg(width).arg(text));
    return text;
}

QString branch(QChar c) {
    const bool ok = c == u'0' || (c >= u'1' && c <= u'9') || (c >= u'A' && c <= u'Z');
    if (!ok) throw RecordError("bad branch character");
    return QString(c);
}

QString picture(const QString& p) { return fixed(p, 6, "picture"); }

// Image1-Image5: X (5), branch (1), Y (4), picture (6).
QString overlay(const Overlay& o) {
    if (o.picture == "000000" && o.pos.isNull() && o.branch == u'0')
        return QString(16, u'0');
    return twips(o.pos.x(), 5) + branch(o.branch) + twips(o.pos.y(), 4) + picture(o.picture);
}

} // namespace

QString inputFormat(int tenths, QChar align, int style, int font, int textColour, int backColour) {
    return QStringLiteral("0") + digits(tenths, 3) + align + QStringLiteral("0") + digits(style, 1) +
           digits(font, 1) + digits(textColour, 1) + digits(backColour, 1);
}

QString buildRecord(const StepPlan& s) {
    QString r;
    r.reserve(kRecordLength);
    r += fixed(s.prefix, 3, "prefix");
    r += fixed(s.altSet, 2, "alt set");
    r += fixed(s.bars, 2, "bars");
    r += fixed(s.action, 4, "action");
    r += picture(s.formPicture);
    r += overlay(s.images[0]);                                   // 18-33
    r += overlay(s.images[1]);                                   // 34-49
    r += overlay(s.images[2]);                                   // 50-65
    if (s.target.isEmpty() && !s.targetNoSize) {                 // 66-85
        r += QString(20, u'0');
    } else {
        r += twips(s.target.x(), 5) + branch(s.targetBranch) + twips(s.target.y(), 4) +
             twips(s.targetNoSize ? 0 : s.target.width(), 5) +
             twips(s.targetNoSize ? 0 : s.target.height(), 5);
    }
    if (!s.input.isEmpty()) {                                    // 86-105
        if (!s.cursor.isEmpty()) throw RecordError("cursor code with an input box");
        if (!s.altMenu.isEmpty()) throw RecordError("context-menu code with an input box");
        if (!s.slots86.isEmpty()) throw RecordError("action slots with an input box");
        r += twips(s.input.x(), 5) + u'0' + twips(s.input.y(), 4) + twips(s.input.width(), 5) +
             twips(s.input.height(), 5);
    } else if (!s.slots86.isEmpty()) {
        if (!s.cursor.isEmpty() || !s.altMenu.isEmpty()) throw RecordError("action slots with other codes");
        r += fixed(s.slots86, 20, "columns 86-105");
    } else {
        r += s.altMenu.isEmpty() ? QString(5, u'0') : fixed(s.altMenu, 5, "alternative menu code");
        r += QString(10, u'0');
        r += s.cursor.isEmpty() ? QString(5, u'0') : fixed(s.cursor, 5, "cursor");
    }
    r += digits(s.inputTextLine, 3);                             // 106-108
    r += digits(s.answerLine, 3);                                // 109-111
    if (s.hintSet)                                               // 112-124
        r += twips(s.hintPos.x(), 5) + twips(s.hintPos.y(), 5) + digits(s.hintLine, 3);
    else
        r += QString(10, u'0') + digits(s.hintLine, 3);
    r += fixed(s.slot125, 10, "columns 125-134");
    r += overlay(s.images[3]);                                   // 135-150
    r += overlay(s.images[4]);                                   // 151-166
    r += twips(s.drop.x(), 5) + twips(s.drop.y(), 5);            // 167-176
    if (s.source.isEmpty())                                      // 177-196
        r += QString(20, u'0');
    else
        r += twips(s.source.x(), 5) + branch(s.sourceBranch) + twips(s.source.y(), 4) +
             twips(s.source.width(), 5) + twips(s.source.height(), 5);
    r += overlay(s.images[5]);                                   // 197-212
    if (r.size() != kRecordLength) throw RecordError("record length is not 212");
    return r;
}

int TextTable::ref(const QString& text) {
    if (text.isEmpty()) return 0;
    int i = texts_.indexOf(text);
    if (i < 0) {
        texts_ << text;
        i = int(texts_.size()) - 1;
    }
    if (i + 1 > 999) throw RecordError("text table full");
    return i + 1;
}

QStringList TextTable::lines() const {
    QStringList out;
    for (int i = 0; i < texts_.size(); ++i) out << digits(i + 1, 3) + texts_[i];
    return out;
}

} // namespace sample
