// The real marshalled road: a stand-in server registered for the test's
// duration under the service's ProgID, reached through CoCreateInstance.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <sstream>

#include "backend/service/LightingServiceClient.h"
#include "platform/win/UniqueHandle.h"
#include "tests/backend/service/ServiceTestSupport.h"
#include "tests/fixtures/service/StandInIds.h"

namespace {

using Microsoft::WRL::ComPtr;

std::wstring GuidText(const GUID& guid)
{
    wchar_t text[64] = {};
    StringFromGUID2(guid, text, 64);
    return text;
}

std::wstring ExeFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\'));
}

// The interface as the type-library marshaller needs to see it.
HRESULT WriteTypeLibrary(const std::wstring& path)
{
    ComPtr<ICreateTypeLib2> library;
    HRESULT hr = CreateTypeLib2(sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32, path.c_str(), library.GetAddressOf());
    if (FAILED(hr)) return hr;
    library->SetGuid(LIBID_StandInLightingService);
    library->SetVersion(1, 0);
    library->SetName(const_cast<LPOLESTR>(L"StandInLightingServiceLib"));

    ComPtr<ITypeLib> stdole;
    hr = LoadRegTypeLib(IID_StdOle, STDOLE2_MAJORVERNUM, STDOLE2_MINORVERNUM, STDOLE2_LCID, stdole.GetAddressOf());
    if (FAILED(hr)) return hr;
    ComPtr<ITypeInfo> dispatch;
    hr = stdole->GetTypeInfoOfGuid(IID_IDispatch, dispatch.GetAddressOf());
    if (FAILED(hr)) return hr;

    ComPtr<ICreateTypeInfo> info;
    hr = library->CreateTypeInfo(const_cast<LPOLESTR>(L"IServiceMediator"), TKIND_INTERFACE, info.GetAddressOf());
    if (FAILED(hr)) return hr;
    info->SetGuid(IID_IServiceMediator);
    info->SetTypeFlags(TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION);
    HREFTYPE base = 0;
    if (FAILED(hr = info->AddRefTypeInfo(dispatch.Get(), &base))) return hr;
    if (FAILED(hr = info->AddImplType(0, base))) return hr;

    TYPEDESC bstr{};
    bstr.vt = VT_BSTR;
    ELEMDESC inText[2] = {};
    for (ELEMDESC& e : inText) {
        e.tdesc.vt = VT_BSTR;
        e.paramdesc.wParamFlags = PARAMFLAG_FIN;
    }
    ELEMDESC outText{};
    outText.tdesc.vt = VT_PTR;
    outText.tdesc.lptdesc = &bstr;
    outText.paramdesc.wParamFlags = PARAMFLAG_FOUT | PARAMFLAG_FRETVAL;

    struct Method {
        const wchar_t* name;
        INVOKEKIND kind;
        ELEMDESC* params;
        SHORT count;
        const wchar_t* paramNames[2];
    };
    const Method methods[] = {
        {L"SetProfile", INVOKE_FUNC, inText, 2, {L"first", L"second"}},
        {L"Reserved", INVOKE_FUNC, nullptr, 0, {}},
        {L"QueryAllDeviceStatus", INVOKE_PROPERTYGET, &outText, 1, {}},
        {L"QueryAllDeviceCap", INVOKE_PROPERTYGET, &outText, 1, {}},
    };
    for (UINT i = 0; i < 4; ++i) {
        const Method& m = methods[i];
        FUNCDESC func{};
        func.memid = static_cast<MEMBERID>(i + 1);
        func.funckind = FUNC_PUREVIRTUAL;
        func.invkind = m.kind;
        func.callconv = CC_STDCALL;
        func.cParams = m.count;
        func.lprgelemdescParam = m.params;
        func.elemdescFunc.tdesc.vt = VT_HRESULT;
        func.oVft = static_cast<SHORT>((7 + i) * sizeof(void*));
        if (FAILED(hr = info->AddFuncDesc(i, &func))) return hr;
        LPOLESTR names[3] = {const_cast<LPOLESTR>(m.name), const_cast<LPOLESTR>(m.paramNames[0]),
                             const_cast<LPOLESTR>(m.paramNames[1])};
        UINT nameCount = m.kind == INVOKE_FUNC ? 1 + m.count : 1;
        if (FAILED(hr = info->SetFuncAndParamNames(i, names, nameCount))) return hr;
    }
    if (FAILED(hr = info->LayOut())) return hr;
    return library->SaveAllChanges();
}

LSTATUS SetValue(const std::wstring& subKey, const std::wstring& value)
{
    platform::UniqueHKey key;
    LSTATUS status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, (L"Software\\Classes\\" + subKey).c_str(), 0, nullptr, 0,
                                     KEY_SET_VALUE, nullptr, key.Put(), nullptr);
    if (status != ERROR_SUCCESS) return status;
    return RegSetValueExW(key.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

struct Record {
    std::string method;
    std::string first;
    std::string second;
};

std::vector<Record> ReadCalls(const std::wstring& path)
{
    std::istringstream in(testsupport::ReadFileBytes(path));
    std::vector<Record> calls;
    std::string method;
    while (std::getline(in, method)) {
        Record record{method, {}, {}};
        if (method == "SetProfile") {
            size_t a = 0, b = 0;
            in >> a >> b;
            in.get();
            record.first.resize(a);
            record.second.resize(b);
            in.read(&record.first[0], static_cast<std::streamsize>(a));
            in.read(&record.second[0], static_cast<std::streamsize>(b));
            in.get();
        }
        calls.push_back(record);
    }
    return calls;
}

class StandInServer : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(cwd.Ok());
        std::wstring server = ExeFolder() + L"\\stand_in_lighting_service.exe";
        ASSERT_TRUE(testsupport::FileExists(server));
        std::wstring typeLibrary = data.File(L"StandInService.tlb");
        ASSERT_EQ(WriteTypeLibrary(typeLibrary), S_OK);
        ComPtr<ITypeLib> library;
        ASSERT_EQ(LoadTypeLibEx(typeLibrary.c_str(), REGKIND_NONE, library.GetAddressOf()), S_OK);
        ASSERT_EQ(RegisterTypeLib(library.Get(), const_cast<LPOLESTR>(typeLibrary.c_str()), nullptr), S_OK);
        m_registered = true;
        const std::wstring clsid = GuidText(CLSID_StandInServiceMediator);
        ASSERT_EQ(SetValue(std::wstring(kServiceProgId) + L"\\CLSID", clsid), ERROR_SUCCESS);
        ASSERT_EQ(SetValue(L"CLSID\\" + clsid, L"Lighting service stand-in"), ERROR_SUCCESS);
        ASSERT_EQ(SetValue(L"CLSID\\" + clsid + L"\\LocalServer32", L"\"" + server + L"\" \"" + data.Path() + L"\""),
                  ERROR_SUCCESS);
    }

    void TearDown() override
    {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, (L"Software\\Classes\\" + std::wstring(kServiceProgId)).c_str());
        RegDeleteTreeW(HKEY_LOCAL_MACHINE,
                       (L"Software\\Classes\\CLSID\\" + GuidText(CLSID_StandInServiceMediator)).c_str());
        if (m_registered)
            UnRegisterTypeLib(LIBID_StandInLightingService, 1, 0, 0, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
    }

    servicetest::ScopedWorkingDirectory cwd;
    testsupport::TempDir data;
    bool m_registered = false;
};

TEST_F(StandInServer, DocumentsCrossTheProcessBoundaryIntact)
{
    testsupport::WriteFileBytes(data.File(kStandInStatusReply),
                                "<root><connecteddevice key=\"Mouse\"/><connecteddevice key=\"Strip\"/>"
                                "<ingroupdevice key=\"Strip\"/></root>");
    testsupport::WriteFileBytes(data.File(kStandInCapabilityReply),
                                "<root><led key=\"A\"><locationname>Front</locationname></led></root>");

    LightingServiceClient client;
    client.GetDeviceStatus();
    client.GetDeviceCap();
    client.doSync();
    EffectData effect = DefaultEffectData();
    client.UpdateXmlToService(4, effect);
    client.ServiceStop();

    ASSERT_EQ(client.m_vecStatus.size(), 2u);
    EXPECT_EQ(client.m_vecStatus[0].name, "Mouse");
    EXPECT_FALSE(client.m_vecStatus[0].inGroup);
    EXPECT_EQ(client.m_vecStatus[1].name, "Strip");
    EXPECT_TRUE(client.m_vecStatus[1].inGroup);
    ASSERT_EQ(client.m_vecCapability.size(), 1u);
    EXPECT_EQ(client.m_vecCapability[0].ledKey.key, "A");
    EXPECT_EQ(client.m_vecCapability[0].ledKey.locationname, "Front");

    std::vector<Record> calls = ReadCalls(data.File(kStandInCallLog));
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[0].method, "get_QueryAllDeviceStatus");
    EXPECT_EQ(calls[1].method, "get_QueryAllDeviceCap");
    EXPECT_EQ(calls[2].method, "SetProfile");
    EXPECT_EQ(calls[2].first, "1");
    // Byte integrity across the boundary; the content itself is covered in process.
    EXPECT_EQ(calls[2].second, service::BuildSyncDocument(client.m_vecStatus));
    // The largest document: the one saved beside the working files.
    EXPECT_EQ(calls[3].method, "SetProfile");
    EXPECT_EQ(calls[3].first, "1");
    EXPECT_EQ(calls[3].second,
              servicetest::WithoutCarriageReturns(testsupport::ReadFileBytes(cwd.File(L"LumoDlgSetProfile.xml"))));
    EXPECT_NE(calls[3].second.find("<led key=\"A\">"), std::string::npos);
    EXPECT_EQ(calls[4].method, "SetProfile");
    EXPECT_EQ(calls[4].first, "1");
    EXPECT_EQ(calls[4].second, "<root><header>VORN_LUMO</header><version>1.0</version><funcid>14</funcid></root>");
}

}  // namespace
