#pragma once
#include <cstdint>

// Arguments of the mouse events; built by value by the raiser, seen by reference in handlers.
struct MouseEventArgs {
    uint32_t Keys;        // MK_ bits of the message's wParam
    uint32_t ClickCount;
    int16_t X;
    int16_t Y;
    int32_t Delta;        // wheel delta, signed
};
static_assert(sizeof(MouseEventArgs) == 16, "MouseEventArgs is 16 bytes on both pointer sizes");

// Click carries nothing but the sender.
struct ButtonClickEventArgs {
    uint8_t Reserved = 0;
};
static_assert(sizeof(ButtonClickEventArgs) == 1, "ButtonClickEventArgs is one byte");
