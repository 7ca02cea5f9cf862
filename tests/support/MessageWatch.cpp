#include "tests/support/MessageWatch.h"

namespace testsupport {

namespace {

thread_local MessageWatch* t_watch = nullptr;

}  // namespace

MessageWatch::MessageWatch()
{
    t_watch = this;
    m_hook = ::SetWindowsHookExW(WH_GETMESSAGE, Hook, nullptr, ::GetCurrentThreadId());
}

MessageWatch::~MessageWatch()
{
    if (m_hook) ::UnhookWindowsHookEx(m_hook);
    t_watch = nullptr;
}

int MessageWatch::Taken(UINT message, HWND window) const
{
    int count = 0;
    for (const Taking& taking : m_taken)
        if (taking.message == message && (window == nullptr || taking.window == window)) ++count;
    return count;
}

LRESULT CALLBACK MessageWatch::Hook(int code, WPARAM removal, LPARAM message)
{
    // A peek that leaves the message queued has not taken it yet.
    if (code == HC_ACTION && removal == PM_REMOVE && t_watch) {
        const MSG& msg = *reinterpret_cast<const MSG*>(message);
        t_watch->m_taken.push_back({msg.hwnd, msg.message});
    }
    return ::CallNextHookEx(nullptr, code, removal, message);
}

}  // namespace testsupport
