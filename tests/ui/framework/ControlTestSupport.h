#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/MessagePump.h"
#include "ui/framework/core/Control.h"

namespace controltest {

using testsupport::Pump;
using testsupport::PumpUntil;

// A top-level popup window that hosts controls in tests.
class HostWindow {
public:
    HostWindow(int x, int y, int width, int height);
    ~HostWindow();
    HWND Get() const { return m_hWnd; }

private:
    HWND m_hWnd = nullptr;
};

// The names of the Changed events a control raises, in order.
using ChangedLog = std::shared_ptr<std::vector<std::string>>;
ChangedLog WatchChanged(Control& control);

// The surface's pixels, top row first, as 0xAARRGGBB values.
std::vector<uint32_t> ReadPixels(HDC surface, int* width = nullptr, int* height = nullptr);
uint32_t PixelAt(HDC surface, int x, int y);

// A GDI+ bitmap of the size, left half one colour and right half another.
std::shared_ptr<Gdiplus::Bitmap> TwoColourBitmap(int width, int height, Gdiplus::ARGB left, Gdiplus::ARGB right);

}  // namespace controltest
