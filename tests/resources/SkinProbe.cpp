// Carries the linked skin resources for wrestool, and compiles the generated
// key tables with the program's compiler.
#include "lumo_keyboard_keys.h"

static_assert(sizeof(g_KeyCodes) / sizeof(g_KeyCodes[0]) == kKeyboardKeyCount, "one code per key");
static_assert(g_KeyCodes[0] == kKeyNoLamp && g_KeyCodes[151] == kKeyNoLamp, "lamp-less keys");
static_assert(g_KeyRects[152][0] == 0 && g_KeyRects[151][2] != 0, "152 is not drawn, 151 is");
static_assert(kLongKeyCapOutline[0].x == 469 && kLongKeyLampOutline[6].y == 563, "long key outline");
static_assert(IsKeyPresent(2) && IsKeyPresent(152) && !IsKeyPresent(1) && !IsKeyPresent(153), "key-present set");

int main() { return g_KeyCodes[kLongKey] == kKeyNoLamp; }
