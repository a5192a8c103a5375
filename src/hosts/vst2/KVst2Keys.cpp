#include "hosts/vst2/KVst2Keys.h"

#include "hosts/vst2/abi/VstEditor.h"

namespace Vst2 {

namespace {

constexpr int kSpace = 32;

bool IsLetter(int c) noexcept { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(int c) noexcept { return c >= '0' && c <= '9'; }
int UpperCase(int c) noexcept { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

// The character a US keyboard gives with shift held.
int Shifted(int c) noexcept {
    static constexpr char kShiftedDigits[] = ")!@#$%^&*(";
    if (IsDigit(c)) return kShiftedDigits[c - '0'];
    return UpperCase(c);
}

KEditorWindow::KeyEventKind KeyKind(bool down) noexcept {
    return down ? KEditorWindow::kKeyDown : KEditorWindow::kKeyUp;
}

}  // namespace

int TranslateVirtualKey(int virtualKey) noexcept {
    switch (virtualKey) {
        case VKEY_BACK: return 8;
        case VKEY_TAB: return 9;
        case VKEY_RETURN: return 13;
        case VKEY_ESCAPE: return 27;
        case VKEY_SPACE: return kSpace;
        case VKEY_NEXT: return 34;
        case VKEY_END: return 35;
        case VKEY_HOME: return 36;
        case VKEY_LEFT: return 37;
        case VKEY_UP: return 38;
        case VKEY_RIGHT: return 39;
        case VKEY_DOWN: return 40;
        case VKEY_PAGEUP: return 33;
        case VKEY_PAGEDOWN: return 34;
        case VKEY_PRINT: return 42;
        case VKEY_ENTER: return 13;
        case VKEY_INSERT: return 45;
        case VKEY_DELETE: return 46;
        case VKEY_HELP: return 47;
        default: return 0;
    }
}

int ProcessVSTKeyDown(int character, int virtualKey, KEditorWindow& window, bool down) {
    const int modifiers = window.Modifiers();
    if (character == 0) {
        const int code = TranslateVirtualKey(virtualKey);
        if (code == 0) return 0;
        // Space is typed text, so it goes on as a character.
        if (code != kSpace) return window.SendKey(KeyKind(down), code) ? 1 : 0;
        character = kSpace;
    }
    if (modifiers & KEditorWindow::kShiftModifier) character = Shifted(character);
    int used = 0;
    if (down && window.SendKey(KEditorWindow::kCharacter, character)) used = 1;
    if ((IsLetter(character) || IsDigit(character)) && window.SendKey(KeyKind(down), UpperCase(character)))
        used = 1;
    return used;
}

}  // namespace Vst2
