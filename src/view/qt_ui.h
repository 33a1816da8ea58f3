#pragma once
// Message boxes, modal forms and popup menus on screen: nested event loops,
// in which the program's timers keep firing.
#include <QMessageBox>
#include <QPointer>
#include <map>
#include <memory>
#include <vector>

#include "core/ui.h"

class QMenu;
class QAction;

namespace view {

class QtUi : public core::UiService {
public:
    int msgBox(const QString& prompt, int style, const QString& title) override;
    void runModal(core::Form& form) override;
    void popupMenu(core::Form& form, core::Menu& menu, double x, double y, int flags) override;
    void closeMsgBox(int depth) override;

private:
    std::vector<QPointer<QMessageBox>> boxes_;  // open now, outermost first
};

// The message box a style asks for: buttons, icon, default and escape
// button (not shown).
std::unique_ptr<QMessageBox> makeMessageBox(const QString& prompt, int style, const QString& title);
// The entries of a popup menu and its cascades: the visible items, each
// visible "-" a separator; the map tells the model item of each action.
void addPopupItems(QMenu& qm, const core::Menu& menu, std::map<QAction*, core::Menu*>& actions);
// The program's answer code of a message box button.
int msgResult(QMessageBox::StandardButton b);

} // namespace view
