#include "app/StartUp.h"

#include <shellapi.h>
#include <wbemidl.h>
#include <wrl/client.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "app/LumoGlobals.h"
#include "platform/ui/UiHandles.h"
#include "platform/ui/Wnd.h"
#include "ui/framework/language/Language.h"

using Microsoft::WRL::ComPtr;

namespace {

struct ModelEntry {
    const char* name;
    int productId;
};

// Tested in this order; the first found decides.
constexpr ModelEntry kSupportedModels[] = {
    {"RT310KB", 1}, {"RT710KB", 1}, {"RT310KA", 2}, {"RT710KA", 2}, {"RS200KC", 1},
};
constexpr int kOtherModel = 9;

class ScopedVariant {
public:
    ScopedVariant() { ::VariantInit(&m_value); }
    ~ScopedVariant() { ::VariantClear(&m_value); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;
    VARIANT* Put() { return &m_value; }
    const VARIANT& Get() const { return m_value; }

private:
    VARIANT m_value;
};

// A decimal number and nothing else, within 32 bits.
bool ParseDecimal(const wchar_t* text, uint32_t& value)
{
    if (text == nullptr || *text == L'\0') return false;
    uint64_t result = 0;
    for (const wchar_t* p = text; *p != L'\0'; ++p) {
        if (*p < L'0' || *p > L'9') return false;
        result = result * 10 + static_cast<uint64_t>(*p - L'0');
        if (result > 0xFFFFFFFFull) return false;
    }
    value = static_cast<uint32_t>(result);
    return true;
}

bool IsSwitch(const wchar_t* argument, const wchar_t* name)
{
    wchar_t slashForm[32];
    wchar_t hyphenForm[32];
    std::swprintf(slashForm, ARRAYSIZE(slashForm), L"/%ls", name);
    std::swprintf(hyphenForm, ARRAYSIZE(hyphenForm), L"-%ls", name);
    return _wcsicmp(argument, slashForm) == 0 || _wcsicmp(argument, hyphenForm) == 0;
}

}  // namespace

int MapModelNameToProductID(const char* productName)
{
    if (productName == nullptr) return kOtherModel;
    for (const ModelEntry& entry : kSupportedModels) {
        if (std::strstr(productName, entry.name) != nullptr) return entry.productId;
    }
    return kOtherModel;
}

bool QueryComputerSystemProductName(std::wstring& name)
{
    platform::ComApartment apartment(COINIT_MULTITHREADED);
    if (!apartment.Succeeded()) return false;

    // The process's security can be set once only; when someone set it
    // already, theirs serves as well.
    HRESULT hr = ::CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                        RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
    if (FAILED(hr) && hr != RPC_E_TOO_LATE) return false;

    ComPtr<IWbemLocator> locator;
    hr = ::CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                            reinterpret_cast<void**>(locator.GetAddressOf()));
    if (FAILED(hr)) return false;

    ComPtr<IWbemServices> services;
    BSTR nameSpace = ::SysAllocString(L"ROOT\\CIMV2");
    hr = locator->ConnectServer(nameSpace, nullptr, nullptr, nullptr, 0, nullptr, nullptr, services.GetAddressOf());
    ::SysFreeString(nameSpace);
    if (FAILED(hr)) return false;

    hr = ::CoSetProxyBlanket(services.Get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                             RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
    if (FAILED(hr)) return false;

    ComPtr<IEnumWbemClassObject> enumerator;
    BSTR language = ::SysAllocString(L"WQL");
    BSTR query = ::SysAllocString(L"SELECT * FROM Win32_ComputerSystemProduct");
    hr = services->ExecQuery(language, query, WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                             enumerator.GetAddressOf());
    ::SysFreeString(query);
    ::SysFreeString(language);
    if (FAILED(hr)) return false;

    name.clear();
    for (;;) {
        ComPtr<IWbemClassObject> object;
        ULONG returned = 0;
        hr = enumerator->Next(WBEM_INFINITE, 1, object.GetAddressOf(), &returned);
        if (returned == 0 || object == nullptr) break;
        ScopedVariant value;
        // A Name that is missing or not a string counts as empty.
        if (SUCCEEDED(object->Get(L"Name", 0, value.Put(), nullptr, nullptr)) && value.Get().vt == VT_BSTR &&
            value.Get().bstrVal != nullptr)
            name.assign(value.Get().bstrVal, ::SysStringLen(value.Get().bstrVal));
        else
            name.clear();
    }
    return true;
}

void DetectModelClass()
{
    std::wstring name;
    if (!QueryComputerSystemProductName(name)) return;
    char narrow[4096] = {};
    // At most 4095 bytes, so the text stays terminated however long the name.
    std::wcstombs(narrow, name.c_str(), sizeof(narrow) - 1);
    ProductID = MapModelNameToProductID(narrow);
}

void ParseCommandLine(LPCWSTR cmdLine)
{
    g_bCmdInit = 0;
    g_bCmdUninit = 0;
    g_bCmdApply = 0;
    g_dwApplyIndex = 0;
    g_bCmdChkDefault = 0;
    g_bCmdBackground = 0;

    int count = 0;
    platform::UniqueLocalMem arguments(::CommandLineToArgvW(cmdLine != nullptr ? cmdLine : L"", &count));
    if (!arguments || count < 1) return;
    auto** argv = static_cast<wchar_t**>(arguments.Get());
    const wchar_t* first = argv[0];

    if (IsSwitch(first, L"init")) {
        if (count == 1) g_bCmdInit = 1;
    } else if (IsSwitch(first, L"uninit")) {
        if (count == 1) g_bCmdUninit = 1;
    } else if (IsSwitch(first, L"apply")) {
        if (count == 2) {
            g_bCmdApply = 1;
            // Text that is not a number must not pick profile 0.
            if (!ParseDecimal(argv[1], g_dwApplyIndex)) g_dwApplyIndex = kApplyIndexInvalid;
        }
    } else if (IsSwitch(first, L"chkdefault")) {
        if (count == 1) g_bCmdChkDefault = 1;
    } else if (IsSwitch(first, L"background")) {
        if (count == 1) g_bCmdBackground = 1;
    }
}

void ReadLangSwitch(LPCWSTR cmdLine)
{
    static const wchar_t kSwitch[] = L"-Lang=";
    constexpr size_t kSwitchLength = ARRAYSIZE(kSwitch) - 1;
    if (cmdLine == nullptr) return;
    const wchar_t* found = std::wcsstr(cmdLine, kSwitch);
    if (found == nullptr) return;
    std::wstring rest(found);
    for (size_t at = rest.find(kSwitch); at != std::wstring::npos; at = rest.find(kSwitch, at))
        rest.erase(at, kSwitchLength);
    g_nLangIndex = _wtoi(rest.c_str());
}

bool TakeSingleInstance()
{
    if (g_bCmdApply || g_bCmdUninit || g_bCmdInit) return true;
    HANDLE event = ::CreateEventW(nullptr, FALSE, FALSE, kSingleInstanceEventName);
    DWORD error = ::GetLastError();
    g_hSingleInstanceEvent.Reset(event);
    if (event == nullptr || error != ERROR_ALREADY_EXISTS) return true;

    HWND running = ::FindWindowW(kMainWindowClassName, nullptr);
    if (running != nullptr) {
        // A minimised window would stay out of sight if only activated.
        if (::IsIconic(running)) ::ShowWindow(running, SW_RESTORE);
        ::SetForegroundWindow(running);
    }
    return false;
}

bool RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSW wc{};
    if (!::GetClassInfoW(instance, L"#32770", &wc) && !::GetClassInfoW(nullptr, L"#32770", &wc)) return false;
    wc.hInstance = instance;
    wc.lpszClassName = kMainWindowClassName;
    return AfxRegisterClass(&wc) != FALSE;
}
