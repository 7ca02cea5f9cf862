#include "tests/support/PointerInput.h"

#include <optional>

namespace testsupport {

namespace {

// Where the test last put the pointer. Under Wine the X server may report an
// earlier move of the pointer late, and that report moves it back: a button
// that carries this point lands where the test meant, whatever came between.
std::optional<POINT> s_intended;

INPUT ButtonInput(DWORD button)
{
    INPUT input = {};
    if (s_intended) input = PointerMoveInput(s_intended->x, s_intended->y);
    input.type = INPUT_MOUSE;
    input.mi.dwFlags |= button;
    return input;
}

}  // namespace

INPUT PointerMoveInput(int x, int y)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (x * 65535 + ::GetSystemMetrics(SM_CXSCREEN) / 2) / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = (y * 65535 + ::GetSystemMetrics(SM_CYSCREEN) / 2) / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

void MoveCursorTo(int x, int y)
{
    s_intended = POINT{x, y};
    INPUT input = PointerMoveInput(x, y);
    ::SendInput(1, &input, sizeof(input));
}

void LeftButton(bool down)
{
    INPUT input = ButtonInput(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    ::SendInput(1, &input, sizeof(input));
}

void LeftButtonAt(POINT at, bool down)
{
    s_intended = at;
    LeftButton(down);
}

DWORD LeftClick(DWORD stamp)
{
    if (stamp == 0) stamp = ::GetTickCount();
    INPUT inputs[2] = {ButtonInput(MOUSEEVENTF_LEFTDOWN), ButtonInput(MOUSEEVENTF_LEFTUP)};
    inputs[0].mi.time = inputs[1].mi.time = stamp;
    ::SendInput(2, inputs, sizeof(INPUT));
    return stamp;
}

}  // namespace testsupport
