#include "platform/ui/AnimationController.h"

#include <windows.h>

#include <algorithm>
#include <limits>
#include <utility>

#include "platform/ui/AnimationFrameTimer.h"

namespace {

double SteadySeconds()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

}  // namespace

CAnimationController::CAnimationController()
    : m_clock(SteadySeconds), m_frameTimer(std::make_unique<AnimationFrameTimer>([this] { UpdateAnimationManager(); }))
{
}

CAnimationController::~CAnimationController()
{
    m_frameTimer.reset();
    // Variables that outlive us must not call back.
    for (const Member& member : m_members) member.variable->m_pOwner = nullptr;
}

void CAnimationController::EnableAnimationManagerEvent(bool enable)
{
    m_bManagerEvents = enable;
}

void CAnimationController::EnableAnimationTimerEventHandler(bool enable, AnimationIdleBehavior idleBehavior)
{
    m_bTimerEvents = enable;
    m_idleBehavior = idleBehavior;
    if (enable && idleBehavior == AnimationIdleBehavior::Continue && !m_frameTimer->IsRunning())
        m_frameTimer->Start(kFrameIntervalMs);
}

void CAnimationController::AddAnimationVariable(CAnimationVariable& variable, uint32_t group)
{
    for (Member& member : m_members) {
        if (member.variable == &variable) {
            member.group = group;
            return;
        }
    }
    if (variable.m_pOwner && variable.m_pOwner != this) variable.m_pOwner->RemoveAnimationVariable(variable);
    variable.m_pOwner = this;
    m_members.push_back(Member{&variable, group});
}

void CAnimationController::RemoveAnimationVariable(CAnimationVariable& variable)
{
    DropTrack(variable);
    m_members.erase(std::remove_if(m_members.begin(), m_members.end(),
                                   [&](const Member& member) { return member.variable == &variable; }),
                    m_members.end());
    if (variable.m_pOwner == this) variable.m_pOwner = nullptr;
}

bool CAnimationController::ContainsVariable(const CAnimationVariable& variable) const
{
    return std::any_of(m_members.begin(), m_members.end(),
                       [&](const Member& member) { return member.variable == &variable; });
}

void CAnimationController::DropTrack(const CAnimationVariable& variable)
{
    m_tracks.erase(std::remove_if(m_tracks.begin(), m_tracks.end(),
                                  [&](const Track& track) { return track.variable == &variable; }),
                   m_tracks.end());
}

bool CAnimationController::AnimateGroup(uint32_t group)
{
    OnBeforeAnimationStart(group);

    const double now = m_clock();
    const std::vector<Member> members = m_members;
    for (const Member& member : members) {
        if (member.group != group) continue;
        CAnimationVariable& variable = *member.variable;
        if (variable.m_transitions.empty()) continue;
        DropTrack(variable);

        Track track;
        track.variable = &variable;
        for (auto& transition : variable.m_transitions) {
            if (transition->Create()) track.transitions.push_back(std::move(transition));
        }
        variable.m_transitions.clear();
        if (track.transitions.empty()) continue;
        track.segmentStart = now;
        track.segmentDuration = track.transitions.front()->Begin(variable.m_value, 0.0);
        m_tracks.push_back(std::move(track));
    }

    // Even a group with nothing to move goes busy, and idle again at the
    // next frame, so that every start is followed by an end.
    SetStatus(AnimationManagerStatus::Busy);
    if (m_frameTimer->IsRunning() || m_frameTimer->Start(kFrameIntervalMs)) return true;
    // No frames would ever come: end at once, every variable at its final value.
    AdvanceTo(std::numeric_limits<double>::infinity());
    return false;
}

bool CAnimationController::Advance(Track& track, double now, double& value)
{
    while (track.current < track.transitions.size()) {
        CCustomTransition& transition = *track.transitions[track.current];
        const double offset = now - track.segmentStart;
        if (offset < track.segmentDuration) {
            value = transition.ValueAt(offset);
            return true;
        }
        value = transition.FinalValue();
        const double velocity = transition.VelocityAt(track.segmentDuration);
        track.segmentStart += track.segmentDuration;
        if (++track.current < track.transitions.size())
            track.segmentDuration = track.transitions[track.current]->Begin(value, velocity);
    }
    return false;
}

void CAnimationController::UpdateAnimationManager()
{
    AdvanceTo(m_clock());
}

void CAnimationController::AdvanceTo(double now)
{
    struct Change {
        CAnimationVariable* variable;
        double newValue;
        double previousValue;
    };
    std::vector<Change> changes;
    for (Track& track : m_tracks) {
        double value = track.variable->m_value;
        Advance(track, now, value);
        if (value != track.variable->m_value) {
            changes.push_back(Change{track.variable, value, track.variable->m_value});
            track.variable->m_value = value;
        }
    }
    m_tracks.erase(std::remove_if(m_tracks.begin(), m_tracks.end(),
                                  [](const Track& track) { return track.current >= track.transitions.size(); }),
                   m_tracks.end());

    // Every value is current before the first handler reads any of them.
    for (const Change& change : changes) {
        if (!ContainsVariable(*change.variable)) continue;  // removed by an earlier handler
        if (CAnimationController* target = change.variable->m_pValueChangedController)
            target->OnAnimationValueChanged(*change.variable, change.newValue, change.previousValue);
    }

    if (m_tracks.empty() && m_status == AnimationManagerStatus::Busy) SetStatus(AnimationManagerStatus::Idle);
    if (m_bTimerEvents) OnAnimationTimerPostUpdate();

    // A handler may have started another animation meanwhile.
    const bool keepTicking =
        m_status == AnimationManagerStatus::Busy || (m_bTimerEvents && m_idleBehavior == AnimationIdleBehavior::Continue);
    if (!keepTicking) m_frameTimer->Stop();
}

void CAnimationController::SetStatus(AnimationManagerStatus status)
{
    if (status == m_status) return;
    const AnimationManagerStatus previous = m_status;
    m_status = status;
    if (m_bManagerEvents) OnAnimationManagerStatusChanged(status, previous);
}

bool CAnimationController::IsFrameTimerRunning() const
{
    return m_frameTimer->IsRunning();
}

void CAnimationController::SetClock(std::function<double()> clock)
{
    m_clock = clock ? std::move(clock) : std::function<double()>(SteadySeconds);
}

void CAnimationController::OnBeforeAnimationStart(uint32_t) {}

void CAnimationController::OnAnimationValueChanged(CAnimationVariable&, double, double) {}

void CAnimationController::OnAnimationManagerStatusChanged(AnimationManagerStatus, AnimationManagerStatus) {}

void CAnimationController::OnAnimationTimerPostUpdate() {}
