#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#ifdef LUMO_LAYERED_ROAD
#include <windows.h>

#include "ui/framework/core/LayeredChildren.h"
#endif

namespace {

#ifdef LUMO_LAYERED_ROAD
constexpr char kLayeredChildrenArgument[] = "--layered-children";

// Read here rather than asked of the switch, which could be wrong about itself.
bool UnderWine()
{
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Whether a child window made the way the controls make theirs keeps WS_EX_LAYERED.
bool ChildWindowsComeOutLayered()
{
    const HWND host = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr, nullptr, nullptr);
    if (!host) return false;
    const HWND child = ::CreateWindowExW(ChildLayeredExStyle(WS_EX_LAYERED), L"STATIC", L"", WS_CHILD, 0, 0, 10, 10,
                                         host, nullptr, nullptr, nullptr);
    const bool layered = child && (::GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
    ::DestroyWindow(host);
    return layered;
}

// Every case of the exe compares its windows with UseLayeredChildWindows(),
// so a switch that did not take would rerun the painted road and pass: the
// road is checked once before the first case, and the run fails on the wrong one.
class LayeredRoadCheck : public testing::Environment {
public:
    explicit LayeredRoadCheck(bool asked) : m_asked(asked) {}

    void SetUp() override
    {
        if (m_asked) {
            ASSERT_TRUE(UseLayeredChildWindows()) << kLayeredChildrenArgument << " was given, yet layered child windows "
                                                                                  "are not in use";
            ASSERT_TRUE(ChildWindowsComeOutLayered())
                << kLayeredChildrenArgument << " was given, yet a child window asked to be layered is made without "
                                               "WS_EX_LAYERED";
        } else if (UnderWine()) {
            ASSERT_FALSE(UseLayeredChildWindows()) << "layered child windows are in use under Wine without "
                                                   << kLayeredChildrenArgument;
            ASSERT_FALSE(ChildWindowsComeOutLayered()) << "a child window comes out layered under Wine without "
                                                       << kLayeredChildrenArgument;
        }
    }

private:
    bool m_asked;
};
#endif

}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // What gtest leaves is ours; an argument nobody reads would let a CTest
    // entry run other cases than it says.
#ifdef LUMO_LAYERED_ROAD
    bool layeredChildren = false;
#endif
    for (int i = 1; i < argc; ++i) {
#ifdef LUMO_LAYERED_ROAD
        if (std::strcmp(argv[i], kLayeredChildrenArgument) == 0) {
            layeredChildren = true;
            continue;
        }
#endif
        std::fprintf(stderr, "unknown argument: %s\n", argv[i]);
        return 2;
    }
#ifdef LUMO_LAYERED_ROAD
    // The road of the Windows the program ships to, which Wine never takes by itself.
    if (layeredChildren) ForceLayeredChildWindowsForTests();
    testing::AddGlobalTestEnvironment(new LayeredRoadCheck(layeredChildren));
#endif
    return RUN_ALL_TESTS();
}
