#include "tests/ui/framework/GdiLedger.h"

#include <cstring>
#include <map>
#include <set>

namespace testsupport {
namespace {

struct Ledger {
    std::set<HDC> dcs;
    std::set<HGDIOBJ> bitmaps;
    std::map<HDC, HGDIOBJ> selected;
    int refused = 0;
    int screenDcs = 0;
};
Ledger* g_ledger = nullptr;

decltype(&::CreateCompatibleDC) g_realCreateCompatibleDC;
decltype(&::DeleteDC) g_realDeleteDC;
decltype(&::CreateDIBSection) g_realCreateDIBSection;
decltype(&::CreateCompatibleBitmap) g_realCreateCompatibleBitmap;
decltype(&::SelectObject) g_realSelectObject;
decltype(&::DeleteObject) g_realDeleteObject;
decltype(&::GetDC) g_realGetDC;
decltype(&::ReleaseDC) g_realReleaseDC;

bool IsStock(HGDIOBJ object)
{
    // A memory DC's initial bitmap is the stock one-pixel bitmap.
    static HGDIOBJ stockBitmap = [] {
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ stock = ::GetCurrentObject(dc, OBJ_BITMAP);
        ::DeleteDC(dc);
        return stock;
    }();
    return object == stockBitmap;
}

HDC WINAPI HookCreateCompatibleDC(HDC dc)
{
    HDC made = g_realCreateCompatibleDC(dc);
    if (made && g_ledger) g_ledger->dcs.insert(made);
    return made;
}

BOOL WINAPI HookDeleteDC(HDC dc)
{
    if (g_ledger) {
        g_ledger->dcs.erase(dc);
        g_ledger->selected.erase(dc);
    }
    return g_realDeleteDC(dc);
}

HBITMAP WINAPI HookCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset)
{
    HBITMAP made = g_realCreateDIBSection(dc, info, usage, bits, section, offset);
    if (made && g_ledger) g_ledger->bitmaps.insert(made);
    return made;
}

HBITMAP WINAPI HookCreateCompatibleBitmap(HDC dc, int width, int height)
{
    HBITMAP made = g_realCreateCompatibleBitmap(dc, width, height);
    if (made && g_ledger) g_ledger->bitmaps.insert(made);
    return made;
}

HGDIOBJ WINAPI HookSelectObject(HDC dc, HGDIOBJ object)
{
    HGDIOBJ previous = g_realSelectObject(dc, object);
    if (g_ledger && previous && previous != HGDI_ERROR && GetObjectType(object) == OBJ_BITMAP) {
        g_ledger->selected[dc] = object;
        // Bitmaps made elsewhere (GDI+) are counted from their first use.
        if (!IsStock(object)) g_ledger->bitmaps.insert(object);
    }
    return previous;
}

BOOL WINAPI HookDeleteObject(HGDIOBJ object)
{
    if (g_ledger && GetObjectType(object) == OBJ_BITMAP) {
        for (const auto& entry : g_ledger->selected) {
            if (entry.second == object) {
                ++g_ledger->refused;
                return FALSE;
            }
        }
        g_ledger->bitmaps.erase(object);
    }
    return g_realDeleteObject(object);
}

HDC WINAPI HookGetDC(HWND window)
{
    HDC dc = g_realGetDC(window);
    if (dc && g_ledger) ++g_ledger->screenDcs;
    return dc;
}

int WINAPI HookReleaseDC(HWND window, HDC dc)
{
    int released = g_realReleaseDC(window, dc);
    if (released && g_ledger) --g_ledger->screenDcs;
    return released;
}

// The import slot of one function in the exe's import table.
void** FindImport(const char* dll, const char* function)
{
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!directory.VirtualAddress) return nullptr;
    for (auto* desc = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress); desc->Name; ++desc) {
        if (_stricmp(reinterpret_cast<const char*>(base + desc->Name), dll) != 0) continue;
        DWORD lookup = desc->OriginalFirstThunk ? desc->OriginalFirstThunk : desc->FirstThunk;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + lookup);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + desc->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0) {
                return reinterpret_cast<void**>(&slots->u1.Function);
            }
        }
    }
    return nullptr;
}

template <typename Fn>
bool Swap(const char* dll, const char* name, Fn hook, Fn* real)
{
    if (!hook) return false;  // never installed
    void** slot = FindImport(dll, name);
    if (!slot) return false;
    DWORD oldProtect = 0;
    if (!VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &oldProtect)) return false;
    if (real) *real = reinterpret_cast<Fn>(*slot);
    *slot = reinterpret_cast<void*>(hook);
    VirtualProtect(slot, sizeof(*slot), oldProtect, &oldProtect);
    return true;
}

bool SwapAll(bool install)
{
    bool ok = true;
#define LEDGER_SWAP(dll, fn)                                                          \
    ok = (install ? Swap(dll, #fn, &Hook##fn, &g_real##fn)                            \
                  : Swap(dll, #fn, g_real##fn, static_cast<decltype(g_real##fn)*>(nullptr))) && \
         ok
    LEDGER_SWAP("gdi32.dll", CreateCompatibleDC);
    LEDGER_SWAP("gdi32.dll", DeleteDC);
    LEDGER_SWAP("gdi32.dll", CreateDIBSection);
    LEDGER_SWAP("gdi32.dll", CreateCompatibleBitmap);
    LEDGER_SWAP("gdi32.dll", SelectObject);
    LEDGER_SWAP("gdi32.dll", DeleteObject);
    LEDGER_SWAP("user32.dll", GetDC);
    LEDGER_SWAP("user32.dll", ReleaseDC);
#undef LEDGER_SWAP
    return ok;
}

}  // namespace

GdiLedger::GdiLedger()
{
    IsStock(nullptr);  // learn the stock bitmap before the wrappers count
    if (g_ledger) return;  // one ledger at a time
    g_ledger = new Ledger;
    m_owner = true;
    m_installed = SwapAll(true);
}

GdiLedger::~GdiLedger()
{
    if (!m_owner) return;
    SwapAll(false);
    delete g_ledger;
    g_ledger = nullptr;
}

int GdiLedger::LiveDcs() const { return g_ledger ? static_cast<int>(g_ledger->dcs.size()) : -1; }
int GdiLedger::LiveBitmaps() const { return g_ledger ? static_cast<int>(g_ledger->bitmaps.size()) : -1; }
int GdiLedger::RefusedDeletes() const { return g_ledger ? g_ledger->refused : -1; }
int GdiLedger::HeldScreenDcs() const { return g_ledger ? g_ledger->screenDcs : -1; }

}  // namespace testsupport
