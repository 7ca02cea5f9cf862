// Own-code cost of one edit's road to the keyboard: a set-effect report built
// and sent through the fake port, and one dispatch by the WMI path through the
// maker's library stand-in (with its call log off).
#include <windows.h>

#include <cstdio>
#include <string>

#include "backend/device/EffectDispatch.h"
#include "backend/device/RgbKeyboard.h"
#include "tests/fixtures/hid/FakeHidPort.h"

namespace {

double NanosecondsPerCall(int calls, void (*body)(void*), void* context)
{
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < calls; ++i) body(context);
    QueryPerformanceCounter(&end);
    return (end.QuadPart - start.QuadPart) * 1e9 / frequency.QuadPart / calls;
}

struct HidContext {
    fakes::FakeHidPort* port;
    EffectData effect;
};

void SendOverHid(void* raw)
{
    auto* context = static_cast<HidContext*>(raw);
    SetRGBKBEffect(1, true, context->effect, 2);
    context->port->events.clear();
}

void DispatchByWmi(void* raw)
{
    ApplyEffect(*static_cast<EffectDispatchState*>(raw), 0, 1, false);
}

std::wstring BesideExe(const wchar_t* relative)
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, length);
    return dir.substr(0, dir.find_last_of(L"\\/")) + relative;
}

}  // namespace

int main()
{
    const int calls = 200000;
    SetEnvironmentVariableW(L"LUMO_NBHWCTL_LOG", nullptr);

    fakes::FakeHidPort port;
    fakes::FakeHidCandidate keyboard;
    keyboard.path = L"kbd";
    port.candidates = {keyboard};
    SetActiveHidPort(&port);
    InitRGBKBDevice();
    HidContext hid{&port, DefaultEffectData()};
    double hidNs = NanosecondsPerCall(calls, SendOverHid, &hid);

    std::wstring dll = BesideExe(L"\\..\\tests\\fixtures\\nbhwctl\\full\\NBHWCTL.dll");
    WmiLibrary wmi(dll);
    wmi.InitWMILibrary();
    if (!wmi.IsLoaded()) {
        std::fprintf(stderr, "stand-in library not found\n");
        return 1;
    }
    ProfileTable profiles{};
    profiles[0].allData[0] = DefaultEffectData();
    int32_t tab = 0;
    SyncEffectSlots slots{};
    EffectDispatchState state{profiles, 1, 0, tab, 0, slots, wmi};
    double wmiNs = NanosecondsPerCall(calls, DispatchByWmi, &state);

    std::printf("set-effect report through the fake port: %.0f ns per edit\n", hidNs);
    std::printf("ApplyEffect by the WMI path (stand-in library): %.0f ns per edit\n", wmiNs);
    SetActiveHidPort(nullptr);
    return 0;
}
