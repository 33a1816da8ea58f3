#pragma once
// One step of a question: a fixed-width line of the step script, read in
// place. Columns count characters from 1; a column beyond the end of a short
// line reads as empty text, and a numeric column reads its leading number as a
// 16-bit integer (0 when it begins with a non-digit).
#include <QString>
#include <cstdint>
#include <optional>

namespace engine {

constexpr int StepRecordLength = 212;

// What the step's ActionCode (columns 8-11) expects.
enum ActionKind {
    ActionOther,           // no handler expects it; only the target's branch applies
    ActionClick,           // "0001"
    ActionDoubleClick,     // "0002"
    ActionRightClick,      // "0003"
    ActionDemoClick,       // "0004"
    ActionTypeLive,        // "0020"
    ActionTypeRename,      // "0021"
    ActionTypeEnterOrBox,  // "0022"
    ActionSelectText,      // "0023"
    ActionTypeEnter,       // "0024"
    ActionTypeLiveExact,   // "0025"
    ActionTypeThenBox,     // "0026"
    ActionTypeOverlay,     // "0027"
    ActionTypeCell,        // "0028"
    ActionHover,           // "0030"
    ActionDragFrame,       // "004" + S
    ActionDragMove,        // "005" + S
    ActionContextMenu,     // "3000"-"6000": kmri
    ActionKey,             // "6" + S + KK ("6001"-"6999")
    ActionMenuStep,        // "7000"
    ActionListChoice,      // "L" + nnn
    ActionLookIn,          // "K" + d + rr
    ActionDragImage,       // "8001"-"8009"
    ActionWait,            // "8888"
    ActionClickShift,      // "9" + S + BB ("9000"-"9998")
    ActionEnd,             // "9999"
};

ActionKind actionKind(const QString& actionCode);

// Step number named by a one-character BranchCode: "0" none (0), "1"-"9"
// steps 1-9, "A"-"Z" steps 10-35; any other character 9 and empty text 10, as
// the jump reads them.
int16_t branchStep(const QString& code);

// A context-menu code kmri: k = 3-6 menu set 1-4, m menu, r row group, i entry.
struct ContextMenuCode {
    int16_t value = 0;
    int set() const { return value / 1000 - 2; }
    int menu() const { return (value / 100) % 10; }
    int group() const { return (value / 10) % 10; }
    int entry() const { return value % 10; }
};

// "H" + MM + II + SS + 2 unread + BranchCode.
struct MenuPath {
    enum Target { MainSpot, DropItem, SubItem };
    int16_t main = 0;   // LblZHU index
    int16_t item = 0;   // drop-down row, 0 none
    int16_t sub = 0;    // submenu row, 0 none
    QString branch;     // character 10, "0" = next step
    // The element whose click completes the step.
    Target target() const { return item == 0 && sub == 0 ? MainSpot : sub == 0 ? DropItem : SubItem; }
    // MMII (characters 2-5), the key of the menu shortcuts.
    QString mmii;
    static std::optional<MenuPath> parse(const QString& slot);
};

// "D" + MM + II + 1 unread + PPPP: row II of drop-down MM drawn from pictures.
struct SpecialItem {
    int16_t main = 0;
    int16_t item = 0;
    QString pictureBase;  // PPPP
    QString normalPicture() const { return pictureBase + QStringLiteral("77"); }
    QString highlightPicture() const { return pictureBase + QStringLiteral("00"); }
    static std::optional<SpecialItem> parse(const QString& slot);
};

// "P" + "6" + S + KK: a further key press. KK is raw; the key-code rules of
// each slot belong to the key check.
struct KeySlot {
    int16_t value = 0;  // 6SKK
    int16_t modifiers() const { return (value % 1000) / 100; }
    int16_t key() const { return value % 100; }
    static std::optional<KeySlot> parse(const QString& slot);
};

// "X" + TabKey + ShownTab + TargetTab + TabImageNo (columns 130-134).
struct DialogCode {
    QString tabKey;          // "A"-"N"
    int16_t shownTab = 0;    // 1-13, 0 for an unknown character
    int16_t targetTab = 0;
    int16_t imageNo = 0;     // overlay image 1-5
    static std::optional<DialogCode> parse(const QString& field);
    // "1"-"9" -> 1-9, "A"-"D" -> 10-13, otherwise 0.
    static int16_t tabNumber(const QString& c);
};

// Pointer of the target (columns 101-105).
struct CursorCode {
    enum Kind { Default, Standard, Custom };
    Kind kind = Default;
    int16_t number = 0;   // columns 104-105 read as a number
    QString digits;       // columns 104-105 as written
    // The pointer number for the toolkit: 0 default, NN standard, 99 custom.
    int16_t pointer() const { return kind == Default ? 0 : kind == Standard ? number : 99; }
    QString file() const;  // CursorFile of a custom pointer, else empty
};

// Program folder & "/ico" & NN & ".CUR".
QString cursorFile(const QString& nn);

// Format of the input box (columns 125-134).
struct InputFormat {
    enum Align { AlignLeft, AlignRight, AlignCenter };
    int16_t fontSizeTenths = 0;   // positions 2-4
    Align align = AlignLeft;      // position 5
    int16_t style = 0;            // position 7 as a number
    int16_t font = 0;             // position 8 as a number
    int16_t textColour = 0;       // position 9 as a number
    int16_t backColour = 0;       // position 10 as a number

    // Point size before scaling: tenths / 10, 9 when 0.
    double fontPoints() const { return fontSizeTenths == 0 ? 9.0 : fontSizeTenths / 10.0; }
    // The properties below are nullopt for values outside their table: the
    // box then keeps what the previous step left.
    std::optional<bool> bold() const;
    std::optional<bool> italic() const;
    std::optional<bool> underline() const;
    std::optional<QString> fontName() const;
    // Colours as the toolkit's &H00BBGGRR values.
    std::optional<uint32_t> textColourValue() const;
    std::optional<uint32_t> backColourValue() const;

    static InputFormat parse(const QString& field);
};

// How an overlay's picture field acts.
enum PictureUse { PictureHide, PictureKeep, PictureShow };

class StepRecord {
public:
    StepRecord() = default;
    explicit StepRecord(QString line) : line_(std::move(line)) {}

    const QString& line() const { return line_; }
    // Characters col..col+width-1; empty beyond the end of the line.
    QString field(int col, int width) const;
    // Leading number of a field as a 16-bit integer.
    int16_t number(int col, int width) const;

    QString altSetCode() const { return field(4, 2); }
    QString barsCode() const { return field(6, 2); }

    // --- Action code ---
    QString actionCode() const { return field(8, 4); }
    ActionKind action() const { return actionKind(actionCode()); }
    // Numeric action code (0 for codes that begin with a letter): StepCode.
    int16_t stepCode() const { return number(8, 4); }
    // Drags "004"/"005" + S: S, column 11.
    int16_t dragModifiers() const { return number(11, 1); }
    // "6" + S + KK and "9" + S + BB, from the numeric code.
    int16_t codeModifiers() const { return (stepCode() % 1000) / 100; }
    int16_t codeKey() const { return stepCode() % 100; }      // KK of ActionKey
    int16_t codeButtons() const { return stepCode() % 100; }  // BB of ActionClickShift
    ContextMenuCode contextMenuCode() const { return {stepCode()}; }
    // "L" + nnn: text reference of the list (columns 9-11).
    QString listTextLine() const { return field(9, 3); }
    // "K" + d + rr: row chosen at the start (column 9) and row to choose.
    int16_t lookInStartRow() const { return number(9, 1); }
    int16_t lookInRow() const { return number(10, 2); }
    // "800" + d: the drag direction digit.
    int16_t dragImageDirection() const { return number(11, 1); }

    // --- Screenshot and overlays ---
    QString formPicture() const { return field(12, 6); }
    bool formPictureKeeps() const { return formPicture() == QStringLiteral("888888"); }
    // Overlays Image1-Image6 (n = 1..6); out-of-range n reads empty.
    int16_t imageX(int n) const;
    QString imageBranch(int n) const;
    int16_t imageY(int n) const;
    QString imagePicture(int n) const;
    PictureUse imagePictureUse(int n) const;

    // --- Target ---
    int16_t redBoxX() const { return number(66, 5); }
    QString redBoxBranch() const { return field(71, 1); }
    int16_t redBoxY() const { return number(72, 4); }
    int16_t redBoxW() const { return number(76, 5); }
    int16_t redBoxH() const { return number(81, 5); }
    // False when columns 66-85 are all "0".
    bool hasTarget() const;

    // --- Input box (columns 86-105 read as one number) ---
    bool hasInputBox() const;
    int16_t inputX() const { return number(86, 5); }
    int16_t inputY() const { return number(92, 4); }
    int16_t inputW() const { return number(96, 5); }
    int16_t inputH() const { return number(101, 5); }
    QString inputTextLine() const { return field(106, 3); }
    int16_t inputTextLineNo() const { return number(106, 3); }
    QString answerLine() const { return field(109, 3); }
    int16_t answerLineNo() const { return number(109, 3); }
    InputFormat inputFormat() const { return InputFormat::parse(field(125, 10)); }

    // --- Hint ---
    int16_t hintX() const { return number(112, 5); }
    int16_t hintY() const { return number(117, 5); }
    // False when columns 112-121 are all "0".
    bool hasHintPosition() const;
    QString hintLine() const { return field(122, 3); }
    int16_t hintLineNo() const { return number(122, 3); }

    // --- Action slots and codes in the shared columns ---
    QString actionSlot1() const { return field(125, 10); }
    QString actionSlot2() const { return field(86, 10); }
    QString actionSlot3() const { return field(96, 10); }
    // The MenuPath of slot n (1-3), when it is one.
    std::optional<MenuPath> menuPath(int n) const;
    std::optional<SpecialItem> specialItem() const { return SpecialItem::parse(actionSlot3()); }
    // KeySlot n (1-3) at columns 86, 91, 96.
    std::optional<KeySlot> keySlot(int n) const;
    // "R" + kmri or "RA" + n (6000 + n) at columns 86-90.
    std::optional<ContextMenuCode> altMenuCode() const;
    // "H" + NN with NN 32-40 at columns 86-88.
    std::optional<int16_t> extraPictureCode() const;
    int16_t extraPictureX() const { return number(96, 5); }
    int16_t extraPictureY() const { return number(102, 4); }
    CursorCode cursorCode() const;
    QString dropBranch() const { return field(102, 1); }
    // "Q" at column 125: the number of steps back (column 129, 0 counts as 1).
    std::optional<int16_t> backSteps() const;
    std::optional<DialogCode> dialogCode() const { return DialogCode::parse(field(130, 5)); }

    // --- Drops and source box ---
    int16_t dropX() const { return number(167, 5); }
    int16_t dropY() const { return number(172, 5); }
    int16_t sourceX() const { return number(177, 5); }
    QString sourceBranch() const { return field(182, 1); }
    int16_t sourceY() const { return number(183, 4); }
    int16_t sourceW() const { return number(187, 5); }
    int16_t sourceH() const { return number(192, 5); }
    // False when columns 187-196 are all "0".
    bool hasSource() const;

private:
    QString line_;
};

} // namespace engine
