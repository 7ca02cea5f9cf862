#include "ui/windows/sync/SwitchFaces.h"

#include "ui/framework/drawing/SkinImage.h"

namespace {

// In the button's state order: off normal, hover, pressed; on normal, hover,
// pressed; off disabled; on disabled.
const wchar_t* const kFaceImages[CLightButton::kStateCount] = {
    L"SYNC_OFF_DEFAULT", L"SYNC_OFF_HOVER", L"SYNC_OFF_PRESS",   L"SYNC_ON_DEFAULT",
    L"SYNC_ON_HOVER",    L"SYNC_ON_PRESS",  L"SYNC_OFF_DISABLE", L"SYNC_ON_DISABLE",
};

}  // namespace

void SwitchFaces::Load()
{
    const HMODULE module = ::GetModuleHandleW(nullptr);
    for (int state = 0; state < CLightButton::kStateCount; ++state) {
        HDC face = nullptr;
        int width = 0, height = 0;
        if (!LoadSkinImageToDC(module, kFaceImages[state], &face, &width, &height)) face = nullptr;
        m_faces[state].Reset(face);
        m_sizes[state] = face ? SIZE{width, height} : SIZE{};
    }
}

void SwitchFaces::Copy(HDC (&faces)[CLightButton::kStateCount], int& width, int& height) const
{
    for (int state = 0; state < CLightButton::kStateCount; ++state) {
        faces[state] = nullptr;
        const SIZE size = m_sizes[state];
        HDC copy = nullptr;
        if (!m_faces[state] || !CreateMemoryDCBitmap(size.cx, size.cy, &copy, TRUE, nullptr)) continue;
        // Both 32-bit: the copy keeps the alpha the button blends with.
        if (!::BitBlt(copy, 0, 0, size.cx, size.cy, m_faces[state].Get(), 0, 0, SRCCOPY)) {
            DeleteMemoryDC(copy);
            continue;
        }
        faces[state] = copy;
    }
    width = m_sizes[CLightButton::Normal].cx;
    height = m_sizes[CLightButton::Normal].cy;
}
