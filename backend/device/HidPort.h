#pragma once
#include <windows.h>
extern "C" {
#include <hidsdi.h>
}

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The few HID and SetupAPI operations the controller protocol needs, behind
// one interface so tests can script a controller.
class HidConnection {
public:
    virtual ~HidConnection() = default;  // closes the device
    virtual bool GetAttributesAndCaps(HIDD_ATTRIBUTES& attributes, HIDP_CAPS& caps) = 0;
    virtual bool SetFeature(const uint8_t* report, uint32_t length) = 0;
    virtual bool GetFeature(uint8_t* report, uint32_t length) = 0;
    virtual bool WriteReport(const uint8_t* report, uint32_t length) = 0;
    // Reads one input report; gives up after timeoutMs whatever the device does.
    virtual bool ReadInputReport(uint8_t* report, uint32_t length, uint32_t timeoutMs) = 0;
};

enum class HidAccess { QueryOnly, ReadWrite };

class HidPort {
public:
    virtual ~HidPort() = default;
    // False only when the device list cannot be had.
    virtual bool EnumInterfacePaths(const GUID& interfaceClass, std::vector<std::wstring>& paths) = 0;
    virtual std::unique_ptr<HidConnection> Open(const wchar_t* path, HidAccess access) = 0;
};

// The port the protocol uses: the real one unless a test put its own.
HidPort& ActiveHidPort();
void SetActiveHidPort(HidPort* port);  // null restores the real port

// The real SetupAPI/HID implementation.
std::unique_ptr<HidPort> CreateWin32HidPort();

// A connection over an already opened overlapped handle.
std::unique_ptr<HidConnection> CreateWin32HidConnection(HANDLE overlappedHandle);
