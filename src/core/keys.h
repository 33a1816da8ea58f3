#pragma once
// Key codes as the program's key events carry them (the platform's
// virtual-key codes), mapped from Qt keys in one table.
namespace core {

enum KeyCode {
    KeyBack = 8, KeyTab = 9, KeyClear = 12, KeyReturn = 13, KeyShift = 16, KeyControl = 17, KeyMenu = 18,
    KeyPause = 19, KeyCapital = 20, KeyEscape = 27, KeySpace = 32, KeyPageUp = 33, KeyPageDown = 34, KeyEnd = 35,
    KeyHome = 36, KeyLeft = 37, KeyUp = 38, KeyRight = 39, KeyDown = 40, KeyPrint = 44, KeyInsert = 45,
    KeyDelete = 46, KeyHelp = 47, Key0 = 48, KeyA = 65, KeyLWin = 91, KeyRWin = 92, KeyApps = 93, KeyNumpad0 = 96,
    KeyMultiply = 106, KeyAdd = 107, KeySubtract = 109, KeyDecimal = 110, KeyDivide = 111, KeyF1 = 112,
    KeyNumLock = 144, KeyScroll = 145,
};

// Virtual-key code of a Qt key (Qt::Key value), 0 when it has none.
// `keypad` is true for keys of the numeric keypad.
int keyCodeFromQt(int qtKey, bool keypad = false);
// Modifier sum 1 Shift + 2 Ctrl + 4 Alt from Qt::KeyboardModifiers bits.
int shiftFromQt(int qtModifiers);
// Mouse button number (1, 2, 4) from a Qt::MouseButton value.
int buttonFromQt(int qtButton);

} // namespace core
