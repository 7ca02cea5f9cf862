#pragma once
#include <windows.h>

#include <vector>

namespace testsupport {

// Notes every message this thread takes from its queue while it lives: the
// moment real input has reached a window is when the window took it. One at
// a time on a thread. WindowWatch (WindowWatch.h) is the watch of one
// window's own handling, sent messages included.
class MessageWatch {
public:
    MessageWatch();
    ~MessageWatch();
    MessageWatch(const MessageWatch&) = delete;
    MessageWatch& operator=(const MessageWatch&) = delete;

    // How many of the message were taken for the window (null: for any window).
    int Taken(UINT message, HWND window = nullptr) const;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM removal, LPARAM message);

    struct Taking {
        HWND window;
        UINT message;
    };
    std::vector<Taking> m_taken;
    HHOOK m_hook = nullptr;
};

}  // namespace testsupport
