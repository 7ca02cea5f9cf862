#include "ui/framework/drawing/SkinPrefetch.h"

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <system_error>

#include "ui/framework/drawing/SkinImage.h"

namespace {

std::atomic<SkinPrefetch*> s_running{nullptr};

}  // namespace

SkinPrefetch::SkinPrefetch(HMODULE module, std::initializer_list<const wchar_t*> names)
    : m_module(module), m_skinSet(g_szSkinResType)
{
    for (const wchar_t* name : names)
        if (name) m_entries.push_back(Entry{name});
    SkinPrefetch* none = nullptr;
    if (m_entries.empty() || m_skinSet.empty() || !s_running.compare_exchange_strong(none, this)) return;
    m_active = true;
    try {
        m_thread = std::thread([this] { Decode(); });
    } catch (const std::system_error&) {
        // Without a thread every picture decodes on its caller's.
        s_running = nullptr;
        m_active = false;
    }
}

SkinPrefetch::~SkinPrefetch()
{
    if (!m_active) return;
    s_running = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_thread.join();
}

size_t SkinPrefetch::TakenCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<size_t>(
        std::count_if(m_entries.begin(), m_entries.end(), [](const Entry& entry) { return entry.taken; }));
}

void SkinPrefetch::Decode()
{
    // The GDI+ path of a picture that is no RGBA PNG goes through COM.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    for (Entry& entry : m_entries) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_stopping) break;
        }
        std::unique_ptr<Gdiplus::Bitmap> picture = DecodeSkinImage(m_module, m_skinSet.c_str(), entry.name.c_str());
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            entry.picture = std::move(picture);
            entry.decoded = true;
        }
        m_decoded.notify_all();
    }
    {
        // Whatever is left is never decoded: its callers decode it themselves.
        std::lock_guard<std::mutex> lock(m_mutex);
        for (Entry& entry : m_entries) entry.decoded = true;
    }
    m_decoded.notify_all();
    if (SUCCEEDED(com)) ::CoUninitialize();
}

std::unique_ptr<Gdiplus::Bitmap> SkinPrefetch::Take(HMODULE module, const wchar_t* skinSet, const wchar_t* name)
{
    SkinPrefetch* running = s_running.load();
    if (!running || !name || !skinSet || running->m_module != module || running->m_skinSet != skinSet) return nullptr;
    std::unique_lock<std::mutex> lock(running->m_mutex);
    // Resource names are not case-sensitive.
    auto entry = std::find_if(running->m_entries.begin(), running->m_entries.end(),
                              [name](const Entry& e) { return _wcsicmp(e.name.c_str(), name) == 0; });
    if (entry == running->m_entries.end() || entry->taken) return nullptr;
    running->m_decoded.wait(lock, [&entry] { return entry->decoded; });
    if (!entry->picture) return nullptr;
    entry->taken = true;
    return std::move(entry->picture);
}
