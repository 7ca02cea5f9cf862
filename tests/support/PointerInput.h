#pragma once
#include <windows.h>

namespace testsupport {

// The real pointer, driven through SendInput.

// An absolute move to the screen point, in the 0..65535 units SendInput takes.
INPUT PointerMoveInput(int x, int y);
// Moves the real pointer to the screen point.
void MoveCursorTo(int x, int y);
// Presses or releases the real pointer's left button.
void LeftButton(bool down);

}  // namespace testsupport
