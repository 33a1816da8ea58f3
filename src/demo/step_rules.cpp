#include "demo/step_rules.h"

#include "core/text.h"

namespace demo {

namespace {

QString ch(const QString& s, int pos) { return core::mid(s, pos, 1); }

} // namespace

bool isTabLeg(const QString& dialogCode) {
    return dialogCode.startsWith(u'X') && ch(dialogCode, 3) != ch(dialogCode, 4);
}

TargetKind targetKind(const QString& code, const QString& dialogCode) {
    if (isTabLeg(dialogCode)) return TargetKind::Tab;
    const QChar first = code.isEmpty() ? QChar() : code[0];
    if (code == u"0001" || code == u"0002" || code == u"0003" || code == u"0004" || code == u"0030" ||
        first == u'3' || first == u'4' || first == u'5' || first == u'9')
        return TargetKind::Target;
    if (code.startsWith(u"004") || code.startsWith(u"005")) return TargetKind::Source;
    if (code.startsWith(u"002")) return TargetKind::TextBox;
    if (code.startsWith(u"800")) return TargetKind::Image5;
    if (code == u"7000") return TargetKind::MenuHotSpot;
    if (first == u'6') return TargetKind::KeyHold;
    if (code == u"8888") return TargetKind::WaitHold;
    if (first == u'L') return TargetKind::List;
    if (first == u'K') return TargetKind::LookIn;
    return TargetKind::Previous;
}

ArrivalCase arrivalCase(const QString& code, const QString& dialogCode, bool secondLeg) {
    if (isTabLeg(dialogCode) && !secondLeg) return ArrivalCase::TabReached;
    if (code == u"0001" || code == u"0002" || code == u"0003" || code == u"0004" || code == u"0030" ||
        code.startsWith(u'L') || secondLeg)
        return ArrivalCase::Advance;
    if (code.startsWith(u"004") || code.startsWith(u"005")) return ArrivalCase::DragSource;
    if (code.startsWith(u'K')) return ArrivalCase::LookInOpen;
    if (code.startsWith(u'9') && code != u"9999") return ArrivalCase::ClickShift;
    if (code.startsWith(u'3') || code.startsWith(u'4') || code.startsWith(u'5')) return ArrivalCase::ContextMenu;
    if (code.startsWith(u"002")) return ArrivalCase::Typing;
    if (code.startsWith(u"800")) return ArrivalCase::Drop;
    if (code == u"9999") return ArrivalCase::End;
    if (code == u"7000") return ArrivalCase::Menu;
    return ArrivalCase::NoCase;
}

uint32_t ringColour(const QString& code) {
    uint32_t c = 255;
    if (code == u"0002") c = 65280;
    if (code == u"0003" || code.startsWith(u'3') || code.startsWith(u'4')) c = 65535;
    return c;
}

HintWording hintWording(const QString& code, const QString& caption) {
    HintWording w;
    QString t = caption;
    if (code.startsWith(u"002")) {
        w.frame = FrameRule::Hidden;
        t.replace(u'|', QString::fromUtf8("或  "));
    }
    w.caption = t;
    const QString in = QString::fromUtf8("输入 ");
    auto set = [&](FrameRule f, const QString& text) {
        w.frame = f;
        w.caption = text;
        w.clearsSelection = true;
    };
    if (code == u"0020" || code == u"0021" || code == u"0027") set(FrameRule::Hidden, in + t);
    else if (code == u"0022") set(FrameRule::FollowsHint, in + t + QString::fromUtf8(" 并按回车键或点红色方框处"));
    else if (code == u"0024") set(FrameRule::Hidden, in + t + QString::fromUtf8(" 并按回车键"));
    else if (code == u"0023") set(FrameRule::Hidden, QString::fromUtf8("请选中 ") + t);
    else if (code == u"0026") set(FrameRule::FollowsHint, in + t + QString::fromUtf8(" 并点击红色方框处"));
    else if (code == u"0028")
        set(FrameRule::FollowsHint,
            QString::fromUtf8("在单元格或编辑栏中输入 ") + t + QString::fromUtf8(" 并按回车键或点编辑区或点“√”"));
    return w;
}

int16_t branchTarget(const QString& code) {
    if (code == u"0") return 0;
    int16_t n = core::val16(code);
    if (n == 0) {
        const int pos = code.isEmpty() ? -1 : int(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ").indexOf(code[0]));
        n = int16_t(9 + (pos < 0 ? 0 : pos + 1));
    }
    return n;
}

} // namespace demo
