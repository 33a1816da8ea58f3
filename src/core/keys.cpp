#include "core/keys.h"

#include <Qt>
#include <unordered_map>

namespace core {

int keyCodeFromQt(int k, bool keypad) {
    if (keypad) {
        if (k >= Qt::Key_0 && k <= Qt::Key_9) return KeyNumpad0 + (k - Qt::Key_0);
        switch (k) {
        case Qt::Key_Asterisk: return KeyMultiply;
        case Qt::Key_Plus: return KeyAdd;
        case Qt::Key_Minus: return KeySubtract;
        case Qt::Key_Period: return KeyDecimal;
        case Qt::Key_Slash: return KeyDivide;
        case Qt::Key_Enter: return KeyReturn;
        default: break;
        }
    }
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return KeyA + (k - Qt::Key_A);
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return Key0 + (k - Qt::Key_0);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return KeyF1 + (k - Qt::Key_F1);
    static const std::unordered_map<int, int> table = {
        {Qt::Key_Backspace, KeyBack}, {Qt::Key_Tab, KeyTab}, {Qt::Key_Backtab, KeyTab},
        {Qt::Key_Return, KeyReturn}, {Qt::Key_Enter, KeyReturn}, {Qt::Key_Shift, KeyShift},
        {Qt::Key_Control, KeyControl}, {Qt::Key_Alt, KeyMenu}, {Qt::Key_Pause, KeyPause},
        {Qt::Key_CapsLock, KeyCapital}, {Qt::Key_Escape, KeyEscape}, {Qt::Key_Space, KeySpace},
        {Qt::Key_PageUp, KeyPageUp}, {Qt::Key_PageDown, KeyPageDown}, {Qt::Key_End, KeyEnd},
        {Qt::Key_Home, KeyHome}, {Qt::Key_Left, KeyLeft}, {Qt::Key_Up, KeyUp}, {Qt::Key_Right, KeyRight},
        {Qt::Key_Down, KeyDown}, {Qt::Key_Print, KeyPrint}, {Qt::Key_Insert, KeyInsert},
        {Qt::Key_Delete, KeyDelete}, {Qt::Key_Menu, KeyApps}, {Qt::Key_NumLock, KeyNumLock},
        {Qt::Key_ScrollLock, KeyScroll}, {Qt::Key_AltGr, KeyMenu}, {Qt::Key_Cancel, 3}, {Qt::Key_Clear, KeyClear},
        {Qt::Key_Select, 41}, {Qt::Key_Execute, 43}, {Qt::Key_SysReq, KeyPrint}, {Qt::Key_Help, KeyHelp},
        {Qt::Key_Meta, KeyLWin}, {Qt::Key_Super_L, KeyLWin}, {Qt::Key_Super_R, KeyRWin}, {Qt::Key_Sleep, 95},
        // Input-method keys.
        {Qt::Key_Hangul, 21}, {Qt::Key_Kana_Lock, 21}, {Qt::Key_Kanji, 25}, {Qt::Key_Hangul_Hanja, 25},
        {Qt::Key_Henkan, 28}, {Qt::Key_Muhenkan, 29},
        // Browser, volume and media keys.
        {Qt::Key_Back, 166}, {Qt::Key_Forward, 167}, {Qt::Key_Refresh, 168}, {Qt::Key_Stop, 169},
        {Qt::Key_Search, 170}, {Qt::Key_Favorites, 171}, {Qt::Key_HomePage, 172}, {Qt::Key_VolumeMute, 173},
        {Qt::Key_VolumeDown, 174}, {Qt::Key_VolumeUp, 175}, {Qt::Key_MediaNext, 176},
        {Qt::Key_MediaPrevious, 177}, {Qt::Key_MediaStop, 178}, {Qt::Key_MediaPlay, 179},
        {Qt::Key_MediaTogglePlayPause, 179}, {Qt::Key_LaunchMail, 180}, {Qt::Key_LaunchMedia, 181},
        {Qt::Key_Launch0, 182}, {Qt::Key_Launch1, 183}, {Qt::Key_Play, 250}, {Qt::Key_Zoom, 251},
        // Punctuation keys of the US layout, shifted or not.
        {Qt::Key_Semicolon, 186}, {Qt::Key_Colon, 186}, {Qt::Key_Equal, 187}, {Qt::Key_Plus, 187},
        {Qt::Key_Comma, 188}, {Qt::Key_Less, 188}, {Qt::Key_Minus, 189}, {Qt::Key_Underscore, 189},
        {Qt::Key_Period, 190}, {Qt::Key_Greater, 190}, {Qt::Key_Slash, 191}, {Qt::Key_Question, 191},
        {Qt::Key_QuoteLeft, 192}, {Qt::Key_AsciiTilde, 192}, {Qt::Key_BracketLeft, 219},
        {Qt::Key_BraceLeft, 219}, {Qt::Key_Backslash, 220}, {Qt::Key_Bar, 220}, {Qt::Key_BracketRight, 221},
        {Qt::Key_BraceRight, 221}, {Qt::Key_Apostrophe, 222}, {Qt::Key_QuoteDbl, 222},
        // Shifted digits.
        {Qt::Key_Exclam, Key0 + 1}, {Qt::Key_At, Key0 + 2}, {Qt::Key_NumberSign, Key0 + 3},
        {Qt::Key_Dollar, Key0 + 4}, {Qt::Key_Percent, Key0 + 5}, {Qt::Key_AsciiCircum, Key0 + 6},
        {Qt::Key_Ampersand, Key0 + 7}, {Qt::Key_Asterisk, Key0 + 8}, {Qt::Key_ParenLeft, Key0 + 9},
        {Qt::Key_ParenRight, Key0},
    };
    auto it = table.find(k);
    return it == table.end() ? 0 : it->second;
}

int shiftFromQt(int m) {
    int s = 0;
    if (m & Qt::ShiftModifier) s |= 1;
    if (m & Qt::ControlModifier) s |= 2;
    if (m & Qt::AltModifier) s |= 4;
    return s;
}

int buttonFromQt(int b) {
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

} // namespace core
