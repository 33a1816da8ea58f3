#pragma once
// Message boxes, modal forms and popup menus go through one service: the
// real one runs nested event loops, the scripted one answers for tests.
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace core {

class Form;
class Menu;

// Message box styles and answers, as the program's calls use them.
enum MsgStyle {
    MbOkOnly = 0, MbOkCancel = 1, MbAbortRetryIgnore = 2, MbYesNoCancel = 3, MbYesNo = 4, MbRetryCancel = 5,
    MbCritical = 16, MbQuestion = 32, MbExclamation = 48, MbInformation = 64,
    MbDefaultButton2 = 256, MbDefaultButton3 = 512,
};
enum MsgResult { MrOk = 1, MrCancel = 2, MrAbort = 3, MrRetry = 4, MrIgnore = 5, MrYes = 6, MrNo = 7 };

// Popup flags: the menu's right edge at x.
enum PopupFlags { PopupLeftAlign = 0, PopupRightAlign = 8 };

class UiService {
public:
    virtual ~UiService() = default;
    // title is never empty here (MsgBox fills in the application title).
    virtual int msgBox(const QString& prompt, int style, const QString& title) = 0;
    // Shows the form modally; returns when it is hidden or unloaded.
    virtual void runModal(Form& form) = 0;
    // Shows a popup of menu's items at (x, y) twips of the form's client
    // area; the chosen item's handler runs before this returns.
    virtual void popupMenu(Form& form, Menu& menu, double x, double y, int flags) = 0;
    // Closes an open message box without an answer. `depth` counts the
    // program's message boxes that were already open when it opened (0:
    // the outermost); its msgBox call returns when the loops above it end.
    virtual void closeMsgBox(int depth) { (void)depth; }
};

UiService& ui();
void setUi(UiService* service);

// A message box; an empty title gives the application title. The box
// belongs to the form whose handler opens it: when that form unloads, the
// box closes and answers unansweredResult(style).
int MsgBox(const QString& prompt, int style = MbOkOnly, const QString& title = QString());
// The answer of a box closed without a choice: its cancelling button (No
// where there is no Cancel, Abort for Abort/Retry/Ignore), else OK.
int unansweredResult(int style);
// Closes the message boxes that the form's handlers opened and that are
// still open (the form unloads).
void closeMsgBoxesOf(const Form& form);

// Whether a message box or a modal form of the program is open.
bool boxOpen();
// Counts a box as open while it lives.
class OpenBox {
public:
    OpenBox();
    ~OpenBox();
    OpenBox(const OpenBox&) = delete;
    OpenBox& operator=(const OpenBox&) = delete;
};

// Scripted answers for tests. Every prompt must be expected; an unexpected
// one is recorded (and reported through onUnexpected) and answered with the
// default button.
class ScriptedUi : public UiService {
public:
    struct Shown {
        QString kind;  // "msgbox", "modal", "popup"
        QString text;  // prompt, form name or menu name
        QString title;
        int style = 0;
    };
    // The next message box must contain `contains`; it is answered `answer`,
    // after `whileOpen` has run (timers keep firing while a box is open).
    void expectMsgBox(const QString& contains, int answer, std::function<void()> whileOpen = {});
    // The next modal form named `name`: `act` runs while it is shown (it
    // must hide or unload the form); without act the form is hidden.
    void expectModal(const QString& name, std::function<void(Form&)> act = {});
    // The next popup of menu `name`: choose the item with this caption
    // (empty: cancel).
    void expectPopup(const QString& name, const QString& chooseCaption);

    int msgBox(const QString& prompt, int style, const QString& title) override;
    void runModal(Form& form) override;
    void popupMenu(Form& form, Menu& menu, double x, double y, int flags) override;
    void closeMsgBox(int depth) override;

    // The prompts of the message boxes open now and not closed by the
    // program, outermost first.
    QStringList openMsgBoxes() const;

    std::vector<Shown> shown;
    std::vector<QString> unexpected;
    std::function<void(const QString&)> onUnexpected;
    bool pending() const { return !queue_.empty(); }
    // The expected prompts that have not come, as "kind: text"; forgets them.
    QStringList takePending();
    // Last popup position (twips) and flags.
    double lastPopupX = 0, lastPopupY = 0;
    int lastPopupFlags = 0;

private:
    struct Expect {
        QString kind, match;
        int answer = 0;
        QString choose;
        std::function<void(Form&)> act;
        std::function<void()> whileOpen;
    };
    std::deque<Expect> queue_;
    struct OpenMsgBox {
        QString prompt;
        bool closed = false;
    };
    std::vector<OpenMsgBox> open_;
    bool take(const QString& kind, const QString& text, Expect& out);
};

} // namespace core
