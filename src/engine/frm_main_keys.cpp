// Key steps: a key press against the step's key code "6" + S + KK, its key
// slots "P" + "6" + S + KK and the keyboard shortcuts of its menu paths.
#include "core/errors.h"
#include "core/keys.h"
#include "core/state.h"
#include "core/text.h"
#include "engine/frm_main.h"
#include "engine/frm_main_util.h"
#include "engine/step_record.h"

namespace engine {

namespace {

struct ShortcutRow {
    const char* mmii;
    int keyCode;
    int shift;
};

// Menu rows whose shortcut performs the menu step.
constexpr ShortcutRow kShortcutKeys[] = {
    {"0101", 78, 2},  {"0102", 79, 2},  {"0104", 83, 2}, {"0113", 80, 2}, {"0201", 90, 2},
    {"0202", 89, 2},  {"0203", 88, 2},  {"0204", 67, 2}, {"0206", 86, 2}, {"0210", 65, 2},
    {"0211", 70, 2},  {"0212", 72, 2},  {"0213", 71, 2}, {"0306", 112, 2}, {"0418", 75, 2},
    {"0517", 112, 1}, {"0601", 118, 0}, {"0608", 69, 3}, {"0901", 112, 0},
};

// KK of the step code itself: 12 stands for F1.
int stepKey(int kk) { return kk == 12 ? core::KeyF1 : kk; }
// KK of key slots 1 and 3: 12-20 stand for F1-F9 (anything up to 20 gains 100).
int slotKey(int kk) { return kk <= 20 ? kk + 100 : kk; }

} // namespace

std::optional<ShortcutKey> menuShortcut(const QString& mmii) {
    for (const ShortcutRow& r : kShortcutKeys)
        if (mmii == QLatin1String(r.mmii)) return ShortcutKey{r.keyCode, r.shift};
    return std::nullopt;
}

void FrmMain::KeyClick(int keyCode, int shift) {
    const StepRecord r(core::session().StepLine);
    resumeNext([&] { StepCode = r.stepCode(); });

    // The step's own key.
    bool match = false;
    resumeNext([&] {
        if (StepCode / 1000 != 6) return;
        match = keyCode == stepKey(StepCode % 100) && shift == (StepCode % 1000) / 100;
    });
    if (match) {
        resumeNext([&] { doNext(); });
        return;
    }

    // Key slots 1-3; the second one takes its key code as written.
    for (int n = 1; n <= 3; ++n) {
        resumeNext([&] {
            const auto slot = r.keySlot(n);
            if (!slot) return;
            StepCode = slot->value;
            const int kk = n == 2 ? slot->key() : slotKey(slot->key());
            match = keyCode == kk && shift == slot->modifiers();
        });
        if (match) {
            resumeNext([&] { doNext(); });
            return;
        }
    }

    // Shortcuts of the menu paths; their submenu row and branch play no part.
    for (const QString& slot : {r.actionSlot1(), r.actionSlot2(), r.actionSlot3()}) {
        resumeNext([&] {
            if (!slot.startsWith(u'H')) return;
            const auto key = menuShortcut(core::mid(slot, 2, 4));
            match = key && key->keyCode == keyCode && key->shift == shift;
        });
        if (match) {
            resumeNext([&] { doNext(); });
            return;
        }
    }
}

} // namespace engine
