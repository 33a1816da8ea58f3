#pragma once
// Keyboard layouts and input methods the candidate can type with: the list
// the question window offers and the switch the practice window's text boxes
// make when they get the focus. Linux has no one way to switch layouts; the
// system implementation switches where it can and otherwise does nothing.
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace core {

struct KeyboardLayout {
    QString id;           // what activate() takes (kept in SessionState::ImeLayout)
    QString description;  // the input method's description; empty for a plain layout
};

class KeyboardLayouts {
public:
    virtual ~KeyboardLayouts() = default;
    // The installed layouts in the system's order.
    virtual std::vector<KeyboardLayout> installed() = 0;
    // Makes the layout the active one for the program's input. False when it
    // cannot be done (unknown or empty id, no way to switch).
    virtual bool activate(const QString& id) = 0;
};

// The input methods of the user's fcitx5 profile (group 0, in its order),
// switched with fcitx5-remote; its "keyboard-*" entries are plain layouts.
// An input method is described by its readable name in the user's language,
// as its description file gives it; its internal name where it has none.
// Without a profile there is one plain layout, the keyboard's own ("keyboard"),
// and activating it changes nothing.
class SystemKeyboardLayouts : public KeyboardLayouts {
public:
    // Empty arguments: the user's profile, fcitx5-remote found on PATH, the
    // input-method folders of the data folders, the messages locale.
    explicit SystemKeyboardLayouts(QString profileFile = {}, QString remoteProgram = {},
                                   QStringList descriptionDirs = {}, QString locale = {});
    std::vector<KeyboardLayout> installed() override;
    bool activate(const QString& id) override;

private:
    QString profile_;
    QString remote_;
    QStringList descriptionDirs_;
    QString locale_;
};

// Test double: answers from `layouts` and records every activation.
class FakeKeyboardLayouts : public KeyboardLayouts {
public:
    std::vector<KeyboardLayout> installed() override { return layouts; }
    bool activate(const QString& id) override;

    std::vector<KeyboardLayout> layouts{{QStringLiteral("keyboard"), QString()}};
    bool activateResult = true;
    QStringList activated;
};

// Item names of the first input-method group of an fcitx5 profile, in their
// order; empty when the file cannot be read.
QStringList fcitxProfileItems(const QString& profileFile);

// The readable name of input method `name` from its description file
// (name.conf in the first of `dirs` that has one): its Name for `locale`
// ("zh_CN", then "zh"), else its plain Name. Empty when there is no such
// file or it names nothing.
QString fcitxInputMethodName(const QStringList& dirs, const QString& name, const QString& locale);

// The layouts in use; a SystemKeyboardLayouts until one is set.
// setKeyboardLayouts(nullptr) goes back to the system one.
KeyboardLayouts& keyboardLayouts();
void setKeyboardLayouts(std::shared_ptr<KeyboardLayouts> layouts);

} // namespace core
