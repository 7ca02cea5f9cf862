#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/ui/Wnd.h"
#include "tests/support/PointerInput.h"
#include "tests/support/WindowWatch.h"
#include "tests/ui/framework/ControlTestSupport.h"
#include "tests/ui/framework/FrameworkTestSupport.h"
#include "ui/framework/core/MemoryDC.h"

namespace windowstest {

using controltest::Pump;
using controltest::PumpUntil;
using testsupport::DispatchUntil;
using testsupport::WindowWatch;

// GDI+ running and the 1080 skin set chosen at 100 %, for the whole test exe.
void EnsureUiEnvironment();

// A top-level popup (an object of our class library) that records the
// messages its children post or send to it.
class RecordingHost : public CWnd {
public:
    struct Record {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    RecordingHost(int x, int y, int width, int height);
    ~RecordingHost() override;
    std::vector<Record> Received(UINT message) const;
    void Clear() { m_records.clear(); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::vector<Record> m_records;
};

// A surface of one opaque colour (0xRRGGBB), standing in for a parent's background.
std::unique_ptr<CMemoryDC> SolidBackground(int width, int height, uint32_t rgb);

// The real pointer: absolute moves and the left button.
using testsupport::LeftButton;
using testsupport::MoveCursorTo;

// Pixels as 0xAARRGGBB, top row first.
testsupport::Pixels PixelsOf(HDC dc);
// Number of pixels whose RGB differs between two equally sized pictures.
int DifferingPixels(const testsupport::Pixels& a, const testsupport::Pixels& b);

}  // namespace windowstest
