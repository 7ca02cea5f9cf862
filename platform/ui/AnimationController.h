#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/AnimationVariable.h"

class AnimationFrameTimer;

enum class AnimationManagerStatus { Idle = 0, Busy = 1 };

// What the frame timer does once nothing animates.
enum class AnimationIdleBehavior { Continue = 0, Disable = 1 };

// Runs the transitions of its variables on the UI thread. AnimateGroup
// schedules a group's transitions at once; a timer on the thread that made
// the controller then advances them every frame and calls the virtual
// operations below. The timer runs only while something animates (or, with
// the idle behaviour Continue, while the timer event handler is enabled).
class CAnimationController {
public:
    // The frame interval of the UI-thread timer.
    static constexpr unsigned kFrameIntervalMs = 16;

    CAnimationController();
    virtual ~CAnimationController();
    CAnimationController(const CAnimationController&) = delete;
    CAnimationController& operator=(const CAnimationController&) = delete;

    // Status changes reach OnAnimationManagerStatusChanged while enabled.
    void EnableAnimationManagerEvent(bool enable);
    // OnAnimationTimerPostUpdate runs after each frame while enabled.
    void EnableAnimationTimerEventHandler(bool enable, AnimationIdleBehavior idleBehavior);

    // Adds the variable to a group, or moves it there if it was added before.
    void AddAnimationVariable(CAnimationVariable& variable, uint32_t group);
    // Takes the variable out; its running transitions stop where they are.
    void RemoveAnimationVariable(CAnimationVariable& variable);
    bool ContainsVariable(const CAnimationVariable& variable) const;

    // Starts the transitions added to the group's variables now. A variable
    // that was still running starts over from its current value. When the
    // frame timer cannot start, the group ends at once at its final values
    // (the status goes busy and idle again) and the answer is false.
    bool AnimateGroup(uint32_t group);

    AnimationManagerStatus GetStatus() const { return m_status; }
    bool IsFrameTimerRunning() const;

    // Advances every running transition to the clock's time; the frame
    // timer calls it.
    void UpdateAnimationManager();

    // The time source in seconds; a steady clock unless a test sets one.
    void SetClock(std::function<double()> clock);

protected:
    virtual void OnBeforeAnimationStart(uint32_t group);
    virtual void OnAnimationValueChanged(CAnimationVariable& variable, double newValue, double previousValue);
    virtual void OnAnimationManagerStatusChanged(AnimationManagerStatus newStatus, AnimationManagerStatus previousStatus);
    virtual void OnAnimationTimerPostUpdate();

private:
    struct Member {
        CAnimationVariable* variable;
        uint32_t group;
    };
    // The transitions of one variable while they run, the current one first.
    struct Track {
        CAnimationVariable* variable;
        std::vector<std::unique_ptr<CCustomTransition>> transitions;
        size_t current = 0;
        double segmentStart = 0.0;
        double segmentDuration = 0.0;
    };

    // One frame at the time given.
    void AdvanceTo(double now);
    void SetStatus(AnimationManagerStatus status);
    void DropTrack(const CAnimationVariable& variable);
    // The value of the track at the time; false once all its transitions ended.
    static bool Advance(Track& track, double now, double& value);

    std::vector<Member> m_members;
    std::vector<Track> m_tracks;
    AnimationManagerStatus m_status = AnimationManagerStatus::Idle;
    bool m_bManagerEvents = false;
    bool m_bTimerEvents = false;
    AnimationIdleBehavior m_idleBehavior = AnimationIdleBehavior::Disable;
    std::function<double()> m_clock;
    std::unique_ptr<AnimationFrameTimer> m_frameTimer;
};
