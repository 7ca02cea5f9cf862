#include "tests/support/PointerInput.h"

namespace testsupport {

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
    INPUT input = PointerMoveInput(x, y);
    ::SendInput(1, &input, sizeof(input));
}

void LeftButton(bool down)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &input, sizeof(input));
}

void LeftButtonAt(POINT at, bool down)
{
    INPUT input = PointerMoveInput(at.x, at.y);
    input.mi.dwFlags |= down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &input, sizeof(input));
}

DWORD LeftClick(DWORD stamp)
{
    if (stamp == 0) stamp = ::GetTickCount();
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    inputs[0].mi.time = inputs[1].mi.time = stamp;
    ::SendInput(2, inputs, sizeof(INPUT));
    return stamp;
}

}  // namespace testsupport
