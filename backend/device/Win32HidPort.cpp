#include <windows.h>
#include <setupapi.h>

#include "backend/device/HidPort.h"
#include "platform/win/UniqueHandle.h"

namespace {

struct DevInfoTraits {
    using Handle = HDEVINFO;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { SetupDiDestroyDeviceInfoList(h); }
};
using UniqueDevInfo = platform::UniqueResource<DevInfoTraits>;

struct PreparsedTraits {
    using Handle = PHIDP_PREPARSED_DATA;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { HidD_FreePreparsedData(h); }
};
using UniquePreparsed = platform::UniqueResource<PreparsedTraits>;

// A write the device never completes must not hold a command-line mode.
constexpr DWORD kWriteTimeoutMs = 5000;

class Win32HidConnection : public HidConnection {
public:
    explicit Win32HidConnection(platform::UniqueFile file) : m_file(std::move(file)) {}

    bool GetAttributesAndCaps(HIDD_ATTRIBUTES& attributes, HIDP_CAPS& caps) override
    {
        UniquePreparsed preparsed;
        if (!HidD_GetPreparsedData(m_file.Get(), preparsed.Put())) return false;
        if (HidP_GetCaps(preparsed.Get(), &caps) != HIDP_STATUS_SUCCESS) return false;
        attributes.Size = sizeof(attributes);
        return HidD_GetAttributes(m_file.Get(), &attributes) != FALSE;
    }

    bool SetFeature(const uint8_t* report, uint32_t length) override
    {
        return HidD_SetFeature(m_file.Get(), const_cast<uint8_t*>(report), length) != FALSE;
    }

    bool GetFeature(uint8_t* report, uint32_t length) override
    {
        return HidD_GetFeature(m_file.Get(), report, length) != FALSE;
    }

    bool WriteReport(const uint8_t* report, uint32_t length) override
    {
        return Transfer(const_cast<uint8_t*>(report), length, kWriteTimeoutMs, true);
    }

    bool ReadInputReport(uint8_t* report, uint32_t length, uint32_t timeoutMs) override
    {
        return Transfer(report, length, timeoutMs, false);
    }

private:
    // The handle is overlapped so a device that never answers cannot hold
    // the caller: the wait is bounded and the request cancelled after it.
    bool Transfer(uint8_t* buffer, uint32_t length, DWORD timeoutMs, bool write)
    {
        platform::UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        if (!event) return false;
        OVERLAPPED overlapped{};
        overlapped.hEvent = event.Get();
        DWORD done = 0;
        BOOL ok = write ? WriteFile(m_file.Get(), buffer, length, nullptr, &overlapped)
                        : ReadFile(m_file.Get(), buffer, length, nullptr, &overlapped);
        if (!ok && GetLastError() != ERROR_IO_PENDING) return false;
        if (WaitForSingleObject(event.Get(), timeoutMs) != WAIT_OBJECT_0) {
            CancelIo(m_file.Get());
            // Wait for the cancel to land so the buffer is no longer in use.
            GetOverlappedResult(m_file.Get(), &overlapped, &done, TRUE);
            SetLastError(ERROR_TIMEOUT);
            return false;
        }
        return GetOverlappedResult(m_file.Get(), &overlapped, &done, FALSE) && done > 0;
    }

    platform::UniqueFile m_file;
};

class Win32HidPort : public HidPort {
public:
    bool EnumInterfacePaths(const GUID& interfaceClass, std::vector<std::wstring>& paths) override
    {
        UniqueDevInfo info(SetupDiGetClassDevsW(&interfaceClass, nullptr, nullptr,
                                                DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
        if (!info) return false;
        for (DWORD index = 0;; ++index) {
            SP_DEVICE_INTERFACE_DATA data{};
            data.cbSize = sizeof(data);
            if (!SetupDiEnumDeviceInterfaces(info.Get(), nullptr, &interfaceClass, index, &data)) break;
            DWORD size = 0;
            SetupDiGetDeviceInterfaceDetailW(info.Get(), &data, nullptr, 0, &size, nullptr);
            if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) continue;
            std::vector<uint8_t> storage(size);
            auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
            detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
            if (!SetupDiGetDeviceInterfaceDetailW(info.Get(), &data, detail, size, nullptr, nullptr)) continue;
            std::wstring path(detail->DevicePath);
            if (path.size() >= MAX_PATH) path.resize(MAX_PATH - 1);
            paths.push_back(std::move(path));
        }
        return true;
    }

    std::unique_ptr<HidConnection> Open(const wchar_t* path, HidAccess access) override
    {
        DWORD rights = access == HidAccess::ReadWrite ? GENERIC_READ | GENERIC_WRITE : 0;
        DWORD flags = access == HidAccess::ReadWrite ? FILE_FLAG_OVERLAPPED : 0;
        platform::UniqueFile file(CreateFileW(path, rights, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                              flags, nullptr));
        if (!file) return nullptr;
        return std::make_unique<Win32HidConnection>(std::move(file));
    }
};

HidPort* g_testPort = nullptr;

}  // namespace

std::unique_ptr<HidConnection> CreateWin32HidConnection(HANDLE overlappedHandle)
{
    return std::make_unique<Win32HidConnection>(platform::UniqueFile(overlappedHandle));
}

std::unique_ptr<HidPort> CreateWin32HidPort()
{
    return std::make_unique<Win32HidPort>();
}

HidPort& ActiveHidPort()
{
    if (g_testPort != nullptr) return *g_testPort;
    static std::unique_ptr<HidPort> real = CreateWin32HidPort();
    return *real;
}

void SetActiveHidPort(HidPort* port)
{
    g_testPort = port;
}
