// The skin sets as the program sees them: found by name within their type,
// decoded by GDI+ as 32-bit ARGB, with the keyboard holes where the key
// tables put them.
#include <windows.h>
#include <objidl.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "lumo_keyboard_keys.h"

namespace {

const wchar_t kSet1080[] = L"1920_1080";
const wchar_t kSet4K[] = L"4K";

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
    if (!IS_INTRESOURCE(name)) reinterpret_cast<std::set<std::wstring>*>(param)->insert(name);
    return TRUE;
}

std::set<std::wstring> NamesOf(const wchar_t* type) {
    std::set<std::wstring> names;
    EnumResourceNamesW(GetModuleHandleW(nullptr), type, CollectName, reinterpret_cast<LONG_PTR>(&names));
    return names;
}

class GdiplusSession {
public:
    GdiplusSession() {
        Gdiplus::GdiplusStartupInput input;
        ok_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
    }
    ~GdiplusSession() {
        if (ok_) Gdiplus::GdiplusShutdown(token_);
    }
    bool ok() const { return ok_; }

private:
    ULONG_PTR token_ = 0;
    bool ok_ = false;
};

// Decodes a skin image the way the program's loader does: resource bytes
// into an HGLOBAL stream, then a GDI+ bitmap.
std::unique_ptr<Gdiplus::Bitmap> Decode(const wchar_t* type, const wchar_t* name) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, name, type);
    if (!found) return nullptr;
    DWORD size = SizeofResource(module, found);
    const void* bytes = LockResource(LoadResource(module, found));
    if (!bytes || !size) return nullptr;
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) return nullptr;
    ULONG written = 0;
    stream->Write(bytes, size, &written);
    std::unique_ptr<Gdiplus::Bitmap> bitmap(Gdiplus::Bitmap::FromStream(stream));
    stream->Release();
    if (!bitmap || bitmap->GetLastStatus() != Gdiplus::Ok) return nullptr;
    return bitmap;
}

TEST(SkinResources, BothSetsHoldTheSameNamesButTheFourKExtras) {
    std::set<std::wstring> small = NamesOf(kSet1080), large = NamesOf(kSet4K);
    EXPECT_EQ(small.size(), 310u);
    EXPECT_EQ(large.size(), 312u);
    for (const std::wstring& name : small) EXPECT_EQ(large.count(name), 1u);
    EXPECT_EQ(small.count(L"APPLY_ICON"), 0u);
    EXPECT_EQ(small.count(L"LINE"), 0u);
    EXPECT_EQ(large.count(L"APPLY_ICON"), 1u);
    EXPECT_EQ(large.count(L"LINE"), 1u);
}

TEST(SkinResources, AnImageOnlyInFourKIsNotFoundInTheOtherSet) {
    EXPECT_EQ(FindResourceW(GetModuleHandleW(nullptr), L"APPLY_ICON", kSet1080), nullptr);
    EXPECT_NE(FindResourceW(GetModuleHandleW(nullptr), L"APPLY_ICON", kSet4K), nullptr);
    EXPECT_EQ(FindResourceW(GetModuleHandleW(nullptr), L"NO_SUCH_IMAGE", kSet4K), nullptr);
}

TEST(SkinResources, GdiplusDecodesThemAsArgbAtTheSetScale) {
    GdiplusSession gdiplus;
    ASSERT_TRUE(gdiplus.ok());
    struct Case {
        const wchar_t* name;
        UINT width, height;
    } cases[] = {{L"MAIN_BG", 1400, 788}, {L"BTN_NORMAL", 150, 38}, {L"LOADING138", 183, 183},
                 {L"COLOR_RING", 413, 413}, {L"KB_FRAME_RS200", 947, 516}};
    for (const Case& c : cases) {
        for (UINT scale : {1u, 2u}) {
            auto bitmap = Decode(scale == 1 ? kSet1080 : kSet4K, c.name);
            ASSERT_TRUE(bitmap) << scale;
            EXPECT_EQ(bitmap->GetWidth(), c.width * scale);
            EXPECT_EQ(bitmap->GetHeight(), c.height * scale);
            EXPECT_EQ(bitmap->GetPixelFormat(), PixelFormat32bppARGB);
        }
    }
}

TEST(SkinResources, KeyboardPictureHasAHoleAtEveryLitKey) {
    GdiplusSession gdiplus;
    ASSERT_TRUE(gdiplus.ok());
    for (UINT scale : {1u, 2u}) {
        auto picture = Decode(scale == 1 ? kSet1080 : kSet4K, L"KB_RESULT_FR_RT310");
        ASSERT_TRUE(picture);
        int holes = 0;
        for (int key = 0; key < kKeyboardKeyCount; ++key) {
            const std::uint16_t* r = g_KeyRects[key];
            if (g_KeyCodes[key] == kKeyNoLamp || r[2] == 0) continue;
            // stored coordinates are twice the 100 % pixels
            INT x = static_cast<INT>((r[0] + r[2]) * scale / 4), y = static_cast<INT>((r[1] + r[3]) * scale / 4);
            Gdiplus::Color centre, gap;
            picture->GetPixel(x, y, &centre);
            picture->GetPixel(static_cast<INT>(r[0] * scale / 2) - 2 * static_cast<INT>(scale), y, &gap);
            EXPECT_EQ(centre.GetA(), 0) << "key " << key;
            EXPECT_EQ(gap.GetA(), 255) << "key " << key;
            ++holes;
        }
        EXPECT_EQ(holes, 100);
    }
}

}  // namespace
