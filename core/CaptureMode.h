#pragma once
// Which capture command is running: the main window holds one of these, and the selection
// windows read it. Idle whenever no capture command runs.
#include <cstdint>

enum class TCaptureMode : std::uint8_t {
    Idle = 0,
    Control = 1,    // the window or control under the mouse
    Window = 2,     // the top-level window under the mouse
    Region = 3,     // a dragged area; also the first stage of the timed series
    Rect = 4,       // a fixed-size rectangle placed with the mouse
    Screen = 5,     // the primary screen
    DualScreen = 6, // the whole virtual desktop
    Recapture = 7,  // the last captured area again
    Icon = 8,       // an icon of a window's program file
    Continuity = 9, // the timed series of one region, second stage
};
