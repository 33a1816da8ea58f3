#pragma once
// How the demonstration reads a step's codes: where the pointer flies,
// what its arrival does, the ring's colour and the hint's wording. Pure
// functions of the record's fields.
#include <QString>
#include <cstdint>

namespace demo {

// Target of a step's main flight.
enum class TargetKind {
    Tab,          // the tab hot-spot of a tab step whose shown and target tab differ
    Target,       // the centre of the target box Label1
    Source,       // the centre of the source box Label4
    TextBox,      // 300 twips right of Text1's left edge, at its middle
    Image5,       // the centre of Image5
    MenuHotSpot,  // the centre of main hot-spot OpenMenu
    KeyHold,      // no flight: the pointer stands, the hold timer runs
    WaitHold,     // likewise, for a wait step
    List,         // the centre of the list box
    LookIn,       // the middle of the closed look-in box
    Previous,     // no rule: the previous target stays
};
TargetKind targetKind(const QString& actionCode, const QString& dialogCode);

// A tab step: "X", key, shown tab, target tab, image; the tabs differ.
bool isTabLeg(const QString& dialogCode);

// What the flight timer does on arrival, in the order the cases are tested.
enum class ArrivalCase {
    TabReached,     // the target tab's page shown, second leg to Label1
    Advance,        // the step is done: doNext, or GoStep for a branching click
    DragSource,     // second leg of a drag to Label1
    LookInOpen,     // the look-in list opens, second leg to its row
    ClickShift,     // doNext
    ContextMenu,    // the drawn context menu
    Typing,         // the typing timer
    Drop,           // the drop timer carries Image5
    End,            // the end timer
    Menu,           // the click on main hot-spot OpenMenu
    NoCase,         // no case: ends like a completed click
};
ArrivalCase arrivalCase(const QString& actionCode, const QString& dialogCode, bool secondLeg);

// Border colour of the click ring: green for a double click, yellow for a
// right click and context-menu codes beginning with 3 or 4, red otherwise.
uint32_t ringColour(const QString& actionCode);

// The hint's wording for the step's code (caption t as it stands): for the
// typing codes "|" becomes "或  " and the text gets its prefix and suffix.
enum class FrameRule { Unchanged, Hidden, FollowsHint };
struct HintWording {
    QString caption;
    FrameRule frame = FrameRule::Unchanged;
    bool clearsSelection = false;  // Text1's selection length set to 0
};
HintWording hintWording(const QString& actionCode, const QString& caption);

// The step a one-character branch code names: "1"-"9" steps 1-9, "A"-"Z"
// steps 10-35, any other character 9; 0 for "0" (no jump).
int16_t branchTarget(const QString& code);

} // namespace demo
