#include "tests/ui/colorpicker/HalvesWindow.h"

namespace pickertest {
namespace {

const wchar_t kClassName[] = L"TestHalvesWindow";
constexpr int kLeftColourIndex = 0;
constexpr int kRightColourIndex = sizeof(LONG);

struct Halves {
    COLORREF left, right;
};

void FillHalves(HWND window, HDC dc)
{
    RECT client;
    GetClientRect(window, &client);
    RECT left = {0, 0, client.right / 2, client.bottom}, right = {client.right / 2, 0, client.right, client.bottom};
    HBRUSH leftBrush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongW(window, kLeftColourIndex)));
    HBRUSH rightBrush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongW(window, kRightColourIndex)));
    FillRect(dc, &left, leftBrush);
    FillRect(dc, &right, rightBrush);
    DeleteObject(leftBrush);
    DeleteObject(rightBrush);
}

LRESULT CALLBACK HalvesProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE: {
        const auto* halves = static_cast<const Halves*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetHalvesColours(window, halves->left, halves->right);
        break;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        FillHalves(window, dc);
        EndPaint(window, &ps);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

HWND CreateHalvesWindow(int x, int y, int width, int height, DWORD style, COLORREF left, COLORREF right)
{
    static const ATOM atom = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = HalvesProc;
        wc.cbWndExtra = 2 * sizeof(LONG);
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kClassName;
        return RegisterClassW(&wc);
    }();
    (void)atom;
    Halves halves = {left, right};
    HWND window = CreateWindowExW(0, kClassName, L"halves", style, x, y, width, height, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), &halves);
    UpdateWindow(window);
    return window;
}

void SetHalvesColours(HWND window, COLORREF left, COLORREF right)
{
    SetWindowLongW(window, kLeftColourIndex, static_cast<LONG>(left));
    SetWindowLongW(window, kRightColourIndex, static_cast<LONG>(right));
}

}  // namespace pickertest
