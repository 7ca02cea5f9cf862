#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "ui/framework/core/EventArgs.h"

// One event handler. Always made by std::make_shared so that a raise can keep
// it alive while the event's own list changes.
template <typename R, typename Sender, typename... Args>
class Delegate {
public:
    using Function = std::function<R(Sender, Args...)>;

    explicit Delegate(Function function) : m_function(std::move(function)) {}

    bool IsEmpty() const { return !m_function; }
    R Invoke(Sender sender, Args... args) const { return m_function(sender, args...); }

private:
    Function m_function;
};

// An enabled flag plus the handlers in subscription order. There is no removal:
// a handler stays for the life of the event.
template <typename... Args>
class Event {
public:
    using DelegateType = Delegate<void, void*, Args...>;
    using Handler = typename DelegateType::Function;

    void Subscribe(Handler handler)
    {
        m_delegates.push_back(std::make_shared<DelegateType>(std::move(handler)));
    }

    // Calls every handler over a copy of the list: a handler may subscribe
    // more (they run from the next raise on) or destroy the sender's owner.
    // Exceptions from a handler are not caught.
    void Raise(void* sender, Args... args) const
    {
        if (!m_bEnabled || m_delegates.empty()) return;
        const std::vector<std::shared_ptr<DelegateType>> snapshot = m_delegates;
        for (const auto& d : snapshot) {
            if (!d || d->IsEmpty()) continue;
            d->Invoke(sender, args...);
        }
    }

    // For raisers that build the argument in place, e.g. a MouseEventArgs
    // temporary for an event of MouseEventArgs&: every handler sees this one copy.
    void RaiseValue(void* sender, std::decay_t<Args>... args) const { Raise(sender, args...); }

    bool IsEnabled() const { return m_bEnabled != 0; }
    void SetEnabled(bool enabled) { m_bEnabled = enabled ? 1 : 0; }

    const std::vector<std::shared_ptr<DelegateType>>& Delegates() const { return m_delegates; }

private:
    uint8_t m_bEnabled = 1;
    std::vector<std::shared_ptr<DelegateType>> m_delegates;
};

using MouseEvent = Event<MouseEventArgs&>;
using ButtonClickEvent = Event<ButtonClickEventArgs&>;
