#pragma once
#include <windows.h>
#include <objidl.h>

#include "platform/win/GdiplusHeaders.h"

#include <condition_variable>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Decodes skin pictures of the current set (g_szSkinResType) on a thread of
// its own, in the order given, while the UI thread builds what comes before
// them: the big pictures of a window cost several milliseconds each to
// decode. While it lives, LoadSkinImage hands each of these pictures out
// once, waiting for the thread when it has not got that far; other names,
// other sets and later loads decode as usual. One at a time per process; it
// is made and ended on the UI thread, and its end joins the thread and drops
// what nobody took.
class SkinPrefetch {
public:
    SkinPrefetch(HMODULE module, std::initializer_list<const wchar_t*> names);
    ~SkinPrefetch();
    SkinPrefetch(const SkinPrefetch&) = delete;
    SkinPrefetch& operator=(const SkinPrefetch&) = delete;

    // How many pictures LoadSkinImage has taken from it.
    size_t TakenCount() const;

    // For LoadSkinImage: the picture of the name from the prefetch that is
    // running for this module and set, once; null otherwise.
    static std::unique_ptr<Gdiplus::Bitmap> Take(HMODULE module, const wchar_t* skinSet, const wchar_t* name);

private:
    struct Entry {
        std::wstring name;
        bool decoded = false;
        bool taken = false;
        std::unique_ptr<Gdiplus::Bitmap> picture;
    };
    void Decode();

    const HMODULE m_module;
    const std::wstring m_skinSet;
    mutable std::mutex m_mutex;
    std::condition_variable m_decoded;
    std::vector<Entry> m_entries;
    bool m_stopping = false;
    bool m_active = false;
    std::thread m_thread;
};
