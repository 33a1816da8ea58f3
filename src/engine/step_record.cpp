#include "engine/step_record.h"

#include "context_menu/context_menu_file.h"

#include "core/state.h"
#include "core/text.h"

namespace engine {

namespace {

bool allDigits(const QString& s) {
    if (s.isEmpty()) return false;
    for (QChar c : s)
        if (c < u'0' || c > u'9') return false;
    return true;
}

// True when the leading number of s (blanks, sign, digits, fraction) holds a
// non-zero digit; the digits are never converted, so any length is fine.
bool leadingNumberNonZero(const QString& s) {
    int i = 0;
    const int n = s.size();
    while (i < n && (s[i] == u' ' || s[i] == u'\t')) ++i;
    if (i < n && (s[i] == u'-' || s[i] == u'+')) ++i;
    bool fraction = false;
    for (; i < n; ++i) {
        const QChar c = s[i];
        if (c == u'.' && !fraction) {
            fraction = true;
            continue;
        }
        if (c < u'0' || c > u'9') break;
        if (c != u'0') return true;
    }
    return false;
}

struct OverlayColumns {
    int x, branch, y, picture;
};

// Columns of Image1..Image6.
constexpr OverlayColumns kOverlays[7] = {
    {0, 0, 0, 0},     {18, 23, 24, 28},   {34, 39, 40, 44},   {50, 55, 56, 60},
    {135, 140, 141, 145}, {151, 156, 157, 161}, {197, 202, 203, 207},
};

uint32_t bgr(int r, int g, int b) { return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16); }

} // namespace

ActionKind actionKind(const QString& code) {
    static const struct { const char16_t* text; ActionKind kind; } exact[] = {
        {u"0001", ActionClick},          {u"0002", ActionDoubleClick},   {u"0003", ActionRightClick},
        {u"0004", ActionDemoClick},      {u"0020", ActionTypeLive},      {u"0021", ActionTypeRename},
        {u"0022", ActionTypeEnterOrBox}, {u"0023", ActionSelectText},    {u"0024", ActionTypeEnter},
        {u"0025", ActionTypeLiveExact},  {u"0026", ActionTypeThenBox},   {u"0027", ActionTypeOverlay},
        {u"0028", ActionTypeCell},       {u"0030", ActionHover},         {u"7000", ActionMenuStep},
        {u"8888", ActionWait},           {u"9999", ActionEnd},
    };
    for (const auto& e : exact)
        if (code == QStringView(e.text)) return e.kind;
    if (code.isEmpty()) return ActionOther;
    if (code.startsWith(u'L')) return ActionListChoice;
    if (code.startsWith(u'K')) return ActionLookIn;
    if (code.size() != 4) return ActionOther;
    if (code.startsWith(QStringLiteral("004"))) return ActionDragFrame;
    if (code.startsWith(QStringLiteral("005"))) return ActionDragMove;
    if (!allDigits(code)) return ActionOther;
    const int v = code.toInt();
    if (v >= 8001 && v <= 8009) return ActionDragImage;
    if (v >= 3000 && v <= 6000) return ActionContextMenu;
    if (v > 6000 && v <= 6999) return ActionKey;
    if (v >= 9000 && v <= 9998) return ActionClickShift;
    return ActionOther;
}

int16_t branchStep(const QString& code) {
    if (code.isEmpty()) return 10;
    const QChar c = code[0];
    if (c == u'0') return 0;
    if (c >= u'1' && c <= u'9') return int16_t(c.unicode() - u'0');
    if (c >= u'A' && c <= u'Z') return int16_t(c.unicode() - u'A' + 10);
    return 9;
}

// --- Slot forms ---------------------------------------------------------------

std::optional<MenuPath> MenuPath::parse(const QString& slot) {
    if (!slot.startsWith(u'H')) return std::nullopt;
    MenuPath p;
    p.main = core::val16(core::mid(slot, 2, 2));
    p.item = core::val16(core::mid(slot, 4, 2));
    p.sub = core::val16(core::mid(slot, 6, 2));
    p.branch = core::mid(slot, 10, 1);
    p.mmii = core::mid(slot, 2, 4);
    return p;
}

std::optional<SpecialItem> SpecialItem::parse(const QString& slot) {
    if (!slot.startsWith(u'D')) return std::nullopt;
    SpecialItem s;
    s.main = core::val16(core::mid(slot, 2, 2));
    s.item = core::val16(core::mid(slot, 4, 2));
    s.pictureBase = core::mid(slot, 7, 4);
    return s;
}

std::optional<KeySlot> KeySlot::parse(const QString& slot) {
    if (!slot.startsWith(u'P')) return std::nullopt;
    const int16_t v = core::val16(core::mid(slot, 2, 4));
    if (v / 1000 != 6) return std::nullopt;
    return KeySlot{v};
}

int16_t DialogCode::tabNumber(const QString& c) {
    if (c.size() != 1) return 0;
    const QChar ch = c[0];
    if (ch >= u'1' && ch <= u'9') return int16_t(ch.unicode() - u'0');
    if (ch >= u'A' && ch <= u'D') return int16_t(ch.unicode() - u'A' + 10);
    return 0;
}

std::optional<DialogCode> DialogCode::parse(const QString& field) {
    if (!field.startsWith(u'X')) return std::nullopt;
    DialogCode d;
    d.tabKey = core::mid(field, 2, 1);
    d.shownTab = tabNumber(core::mid(field, 3, 1));
    d.targetTab = tabNumber(core::mid(field, 4, 1));
    d.imageNo = core::val16(core::mid(field, 5, 1));
    return d;
}

QString cursorFile(const QString& nn) { return core::config().programFile(QStringLiteral("ico") + nn + QStringLiteral(".CUR")); }

QString CursorCode::file() const { return kind == Custom ? cursorFile(digits) : QString(); }

// --- InputFormat --------------------------------------------------------------

InputFormat InputFormat::parse(const QString& f) {
    InputFormat fmt;
    fmt.fontSizeTenths = core::val16(core::mid(f, 2, 3));
    const QString a = core::mid(f, 5, 1);
    if (a == u"R" || a == u"r") fmt.align = AlignRight;
    else if (a == u"M" || a == u"m") fmt.align = AlignCenter;
    fmt.style = core::val16(core::mid(f, 7, 1));
    fmt.font = core::val16(core::mid(f, 8, 1));
    fmt.textColour = core::val16(core::mid(f, 9, 1));
    fmt.backColour = core::val16(core::mid(f, 10, 1));
    return fmt;
}

std::optional<bool> InputFormat::bold() const {
    if (style < 0 || style > 7) return std::nullopt;
    return (style & 1) != 0;
}

std::optional<bool> InputFormat::italic() const {
    if (style < 0 || style > 7) return std::nullopt;
    return (style & 2) != 0;
}

std::optional<bool> InputFormat::underline() const {
    if (style < 0 || style > 7) return std::nullopt;
    return (style & 4) != 0;
}

std::optional<QString> InputFormat::fontName() const {
    switch (font) {
    case 1: return QStringLiteral("宋体");
    case 2: return QStringLiteral("Times New Roman");
    case 3: return QStringLiteral("黑体");
    case 4: return QStringLiteral("楷体_GB2312");
    case 5: return QStringLiteral("隶书");
    default: return std::nullopt;
    }
}

std::optional<uint32_t> InputFormat::textColourValue() const {
    switch (textColour) {
    case 0: return bgr(0, 0, 0);
    case 1: return bgr(0, 0, 255);
    case 2: return bgr(255, 0, 0);
    default: return std::nullopt;
    }
}

std::optional<uint32_t> InputFormat::backColourValue() const {
    switch (backColour) {
    case 0: return bgr(255, 255, 255);
    case 1: return bgr(0, 0, 255);
    case 2: return bgr(255, 0, 0);
    case 3: return bgr(192, 192, 192);
    case 4: return bgr(255, 169, 170);
    case 5: return bgr(255, 213, 214);
    case 6: return bgr(0, 128, 1);
    case 7: return bgr(204, 178, 179);
    case 8: return bgr(186, 227, 224);
    case 9: return bgr(255, 255, 225);
    default: return std::nullopt;
    }
}

// --- StepRecord ---------------------------------------------------------------

QString StepRecord::field(int col, int width) const { return core::mid(line_, col, width); }

int16_t StepRecord::number(int col, int width) const { return core::val16(field(col, width)); }

int16_t StepRecord::imageX(int n) const {
    if (n < 1 || n > 6) return 0;
    return number(kOverlays[n].x, 5);
}

QString StepRecord::imageBranch(int n) const {
    if (n < 1 || n > 6) return QString();
    return field(kOverlays[n].branch, 1);
}

int16_t StepRecord::imageY(int n) const {
    if (n < 1 || n > 6) return 0;
    return number(kOverlays[n].y, 4);
}

QString StepRecord::imagePicture(int n) const {
    if (n < 1 || n > 6) return QString();
    return field(kOverlays[n].picture, 6);
}

PictureUse StepRecord::imagePictureUse(int n) const {
    const QString p = imagePicture(n);
    if (n == 6 ? core::leadingNumber(p) == 0 : p == QStringLiteral("000000")) return PictureHide;
    if (p == QStringLiteral("888888")) return PictureKeep;
    return PictureShow;
}

bool StepRecord::hasTarget() const { return field(66, 20) != QString(20, u'0'); }

bool StepRecord::hasInputBox() const { return leadingNumberNonZero(field(86, 20)); }

bool StepRecord::hasHintPosition() const { return field(112, 10) != QString(10, u'0'); }

bool StepRecord::hasSource() const { return field(187, 10) != QString(10, u'0'); }

std::optional<MenuPath> StepRecord::menuPath(int n) const {
    switch (n) {
    case 1: return MenuPath::parse(actionSlot1());
    case 2: return MenuPath::parse(actionSlot2());
    case 3: return MenuPath::parse(actionSlot3());
    default: return std::nullopt;
    }
}

std::optional<KeySlot> StepRecord::keySlot(int n) const {
    if (n < 1 || n > 3) return std::nullopt;
    return KeySlot::parse(field(86 + 5 * (n - 1), 5));
}

std::optional<ContextMenuCode> StepRecord::altMenuCode() const {
    if (auto code = context_menu::altMenuCode(line_)) return ContextMenuCode{*code};
    return std::nullopt;
}

std::optional<int16_t> StepRecord::extraPictureCode() const {
    const QString f = field(86, 3);
    if (!f.startsWith(u'H')) return std::nullopt;
    const int16_t nn = core::val16(core::mid(f, 2, 2));
    if (nn < 32 || nn > 40) return std::nullopt;
    return nn;
}

CursorCode StepRecord::cursorCode() const {
    CursorCode c;
    const QString lead = field(101, 1);
    c.digits = field(104, 2);
    c.number = core::val16(c.digits);
    if (lead == u"S") c.kind = CursorCode::Standard;
    else if (lead == u"M") c.kind = CursorCode::Custom;
    return c;
}

std::optional<int16_t> StepRecord::backSteps() const {
    if (field(125, 1) != u"Q") return std::nullopt;
    const int16_t n = number(129, 1);
    return n == 0 ? int16_t(1) : n;
}

} // namespace engine
