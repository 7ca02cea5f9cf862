#pragma once

#include <windows.h>

// Whether child windows of this process may be layered. Layered children
// exist only from Windows 8 on; Wine accepts the style but shows each such
// child as a misplaced top-level window, so there the painted path is used.
// Decided once per process, before the first control is made.
bool UseLayeredChildWindows();

// exStyle with WS_EX_LAYERED kept only where layered children are used;
// every child window that would be layered passes its style through here.
DWORD ChildLayeredExStyle(DWORD exStyle);

// For tests: the rule behind the decision.
bool LayeredChildrenAllowed(bool windows8OrLater, bool underWine);

// For tests only, before the first control is made: take the road of the
// systems that use layered children, which Wine never takes by itself.
void ForceLayeredChildWindowsForTests();
