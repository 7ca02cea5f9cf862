#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/framework/core/Delegate.h"

namespace {

struct Log {
    std::vector<std::string> calls;
};

}  // namespace

TEST(Event, HandlersRunInSubscriptionOrderWithSenderAndArgument)
{
    Event<int> event;
    Log log;
    int sender = 0;
    void* seen = nullptr;
    event.Subscribe([&](void* s, int v) {
        seen = s;
        log.calls.push_back("a" + std::to_string(v));
    });
    event.Subscribe([&](void*, int v) { log.calls.push_back("b" + std::to_string(v)); });
    event.Raise(&sender, 7);
    EXPECT_EQ(seen, &sender);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"a7", "b7"}));
}

TEST(Event, SameFunctionSubscribedTwiceRunsTwice)
{
    Event<> event;
    int calls = 0;
    std::function<void(void*)> handler = [&](void*) { ++calls; };
    event.Subscribe(handler);
    event.Subscribe(handler);
    event.Raise(nullptr);
    EXPECT_EQ(calls, 2);
}

TEST(Event, HandlerSubscribedDuringRaiseRunsFromNextRaise)
{
    Event<> event;
    Log log;
    bool added = false;
    event.Subscribe([&](void*) {
        log.calls.push_back("first");
        if (!added) {
            added = true;
            event.Subscribe([&](void*) { log.calls.push_back("late"); });
        }
    });
    event.Raise(nullptr);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"first"}));
    event.Raise(nullptr);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"first", "first", "late"}));
}

TEST(Event, DisabledEventRunsNoHandler)
{
    Event<int> event;
    int calls = 0;
    event.Subscribe([&](void*, int) { ++calls; });
    EXPECT_TRUE(event.IsEnabled());
    event.SetEnabled(false);
    event.Raise(nullptr, 1);
    EXPECT_EQ(calls, 0);
    event.SetEnabled(true);
    event.Raise(nullptr, 1);
    EXPECT_EQ(calls, 1);
}

TEST(Event, EmptyHandlerIsSkipped)
{
    Event<int> event;
    int calls = 0;
    event.Subscribe(nullptr);
    event.Subscribe([&](void*, int) { ++calls; });
    event.Raise(nullptr, 1);
    EXPECT_EQ(calls, 1);
}

TEST(Event, HandlerMayDestroyTheEventsOwner)
{
    struct Owner {
        Event<> Fired;
    };
    auto owner = std::make_unique<Owner>();
    auto token = std::make_shared<int>(0);
    std::weak_ptr<int> watch = token;
    bool laterAliveDuringRaise = false;
    bool laterRan = false;
    owner->Fired.Subscribe([&](void*) {
        owner.reset();
        // The later handler's delegate (holding the token) must outlive its list.
        laterAliveDuringRaise = !watch.expired();
    });
    owner->Fired.Subscribe([&laterRan, token](void*) { laterRan = *token == 0; });
    token.reset();
    owner->Fired.Raise(nullptr);
    EXPECT_FALSE(owner);
    EXPECT_TRUE(laterAliveDuringRaise);
    EXPECT_TRUE(laterRan);
    EXPECT_TRUE(watch.expired());
}

TEST(Event, ReferenceArgumentIsSharedAlongTheHandlers)
{
    MouseEvent event;
    std::vector<uint32_t> seen;
    event.Subscribe([&](void*, MouseEventArgs& e) {
        seen.push_back(e.ClickCount);
        e.ClickCount += 10;
    });
    event.Subscribe([&](void*, MouseEventArgs& e) { seen.push_back(e.ClickCount); });

    MouseEventArgs args{0x1, 2, -5, 300, -120};
    event.Raise(nullptr, args);
    EXPECT_EQ(seen, (std::vector<uint32_t>{2, 12}));
    EXPECT_EQ(args.ClickCount, 12u);

    // A temporary raised by value: each handler still sees the one copy.
    seen.clear();
    event.RaiseValue(nullptr, MouseEventArgs{0, 1, 0, 0, 0});
    EXPECT_EQ(seen, (std::vector<uint32_t>{1, 11}));
}

TEST(Event, HandlerExceptionPropagatesAndStopsTheRaise)
{
    Event<> event;
    bool laterRan = false;
    event.Subscribe([](void*) { throw std::runtime_error("handler"); });
    event.Subscribe([&](void*) { laterRan = true; });
    EXPECT_THROW(event.Raise(nullptr), std::runtime_error);
    EXPECT_FALSE(laterRan);
}
