#pragma once

// Pointer and key input as the editor sees it, independent of the window
// system that delivered it.
struct KPointerEvent {
    enum class Kind { Press, Release, Move, Wheel };
    static constexpr int kLeftButton = 1;
    static constexpr int kRightButton = 3;

    Kind kind = Kind::Move;
    int x = 0;
    int y = 0;
    int button = 0;
    // Wheel steps: positive away from the user.
    int wheel = 0;
    // 2 on the second press of a double click.
    int clicks = 1;
    bool shift = false;
    bool control = false;
};

// A key: either a typed character or one of the editing keys by their
// virtual-key code (the codes the VST 2.4 bridge hands on).
struct KKeyEvent {
    static constexpr int kBackspace = 8;
    static constexpr int kReturn = 13;
    static constexpr int kEscape = 27;

    int code = 0;
    char32_t character = 0;
};
