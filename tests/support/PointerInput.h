#pragma once
#include <windows.h>

namespace testsupport {

// The real pointer, driven through SendInput.

// An absolute move to the screen point, in the 0..65535 units SendInput takes.
INPUT PointerMoveInput(int x, int y);
// Moves the real pointer to the screen point.
void MoveCursorTo(int x, int y);
// Presses or releases the real pointer's left button where the test last put
// the pointer; the input carries that point, since under Wine the X server
// may report an earlier move late and a bare press would land where that
// report put the pointer.
void LeftButton(bool down);
// The same at a screen point.
void LeftButtonAt(POINT at, bool down);
// Presses and releases the left button there too, both stamped with
// the given time of the input's own clock (0: now); returns the stamp. A press
// stamped within the double-click time of the one before it is the second
// half of a double click however late either reaches the window, as a hand's
// two quick clicks are.
DWORD LeftClick(DWORD stamp = 0);

}  // namespace testsupport
