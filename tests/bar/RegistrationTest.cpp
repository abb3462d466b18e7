// The built TolvakBar.dll through the real registry of the test's prefix: self-registration,
// creation through COM, the class factory, unloading; and the installation commands.
#include "../support/TestSupport.h"

#include <bar/BarGuids.h>
#include <bar/Registration.h>
#include <base/Path.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <utility>

#include <shlobj.h>
#include <shobjidl.h>

namespace {

constexpr char kClassKey[] = "CLSID\\{7C41B5E0-3A6F-11d4-8E3F-2A61C0D94B17}";
const std::string kImplemented = std::string(kClassKey) + "\\Implemented Categories\\{00021493-0000-0000-C000-000000000046}";

using RegisterFn = HRESULT(STDAPICALLTYPE*)();
using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using InstallFn = HRESULT(STDAPICALLTYPE*)(BOOL, PCWSTR);

// The library as built, loaded the way COM and the program load it; its exports by ordinal.
struct BarLibrary {
    std::string path = FullPath(path::ReplaceFileName(path::ModuleFile(nullptr), "..\\bin\\TolvakBar.dll"));
    win::UniqueModule module{LoadLibraryA(path.c_str())};
    RegisterFn canUnloadNow = win::ProcAddress<RegisterFn>(module.get(), MAKEINTRESOURCEA(1));
    GetClassObjectFn getClassObject = win::ProcAddress<GetClassObjectFn>(module.get(), MAKEINTRESOURCEA(2));
    RegisterFn registerServer = win::ProcAddress<RegisterFn>(module.get(), MAKEINTRESOURCEA(3));
    RegisterFn unregisterServer = win::ProcAddress<RegisterFn>(module.get(), MAKEINTRESOURCEA(4));
    // By name, as regsvr32 finds it.
    InstallFn dllInstall = win::ProcAddress<InstallFn>(module.get(), "DllInstall");

    static std::string FullPath(const std::string& relative) {
        char full[MAX_PATH] = "";
        GetFullPathNameA(relative.c_str(), MAX_PATH, full, nullptr);
        return full;
    }
    win::ComPtr<IClassFactory> Factory() const {
        win::ComPtr<IClassFactory> factory;
        EXPECT_EQ(getClassObject(CLSID_TolvakEx, IID_IClassFactory, reinterpret_cast<void**>(factory.put())), S_OK);
        return factory;
    }
};

using testutil::KeyExists;

std::optional<std::string> Value(const std::string& key, const char* name = nullptr) {
    return testutil::RegistryText(HKEY_CLASSES_ROOT, key, name);
}

std::vector<std::string> SubKeys(const std::string& key) {
    std::vector<std::string> names;
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return names;
    char name[256];
    DWORD size = sizeof name;
    for (DWORD i = 0; RegEnumKeyExA(opened, i, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS; ++i) {
        names.push_back(name);
        size = sizeof name;
    }
    RegCloseKey(opened);
    std::sort(names.begin(), names.end());
    return names;
}

// The server the bar is registered with in the machine's or the user's classes; "" when none.
std::string ServerIn(HKEY root) {
    return testutil::RegistryText(root, std::string("Software\\Classes\\") + kClassKey + "\\InprocServer32").value_or("");
}

// While it lives the machine's classes are closed to writing, as to a user without
// administrator rights.
struct MachineRefuses {
    testutil::LockedRegistryKey classes{HKEY_LOCAL_MACHINE, "Software\\Classes"};
};

// An outer object that only counts the references the inner object passes on to it.
struct CountingOuter final : IUnknown {
    LONG references = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
};

}  // namespace

TEST(BarRegistration, WritesExactlyItsEntriesAndRemovesThemAgain) {
    BarLibrary library;
    const testutil::BarUnregisteredAtEnd unregister;
    ASSERT_TRUE(library.registerServer && library.unregisterServer) << library.path;
    const testutil::ScopedRegistryKey otherClass(HKEY_CLASSES_ROOT, "CLSID\\{0D1E2F30-4152-6374-8596-A7B8C9DAEBFC}");
    const testutil::ScopedRegistryKey leftOver(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\Old");
    ASSERT_TRUE(otherClass.ok() && leftOver.ok());

    EXPECT_EQ(library.registerServer(), S_OK);
    EXPECT_EQ(library.registerServer(), S_OK);
    const struct {
        std::string key;
        const char* name;
        std::string data;
    } entries[] = {
        {"TolvakBar.TolvakEx.1", nullptr, "TolvakEx Class"},
        {"TolvakBar.TolvakEx.1\\CLSID", nullptr, "{7C41B5E0-3A6F-11d4-8E3F-2A61C0D94B17}"},
        {"TolvakBar.TolvakEx", nullptr, "TolvakEx Class"},
        {"TolvakBar.TolvakEx\\CLSID", nullptr, "{7C41B5E0-3A6F-11d4-8E3F-2A61C0D94B17}"},
        {"TolvakBar.TolvakEx\\CurVer", nullptr, "TolvakBar.TolvakEx.1"},
        {kClassKey, nullptr, "&TolvakBar"},
        {std::string(kClassKey) + "\\ProgID", nullptr, "TolvakBar.TolvakEx.1"},
        {std::string(kClassKey) + "\\VersionIndependentProgID", nullptr, "TolvakBar.TolvakEx"},
        {std::string(kClassKey) + "\\InprocServer32", nullptr, library.path},
        {std::string(kClassKey) + "\\InprocServer32", "ThreadingModel", "Apartment"},
    };
    for (const auto& entry : entries) EXPECT_EQ(Value(entry.key, entry.name), entry.data) << entry.key;
    // The left-over class key went as a whole.
    EXPECT_EQ(SubKeys(kClassKey), (std::vector<std::string>{"Implemented Categories", "InprocServer32", "ProgID",
                                                            "VersionIndependentProgID"}));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kImplemented));

    win::ComPtr<ITypeLib> typeLib;
    ASSERT_EQ(LoadRegTypeLib(LIBID_TOLVAKBARLib, 1, 0, 0, typeLib.put()), S_OK);
    BSTR help = nullptr;
    ASSERT_EQ(typeLib->GetDocumentation(-1, nullptr, &help, nullptr, nullptr), S_OK);
    const std::wstring helpText = help ? help : L"";
    SysFreeString(help);
    const std::wstring expectedHelp = L"TolvakBar 1.0 ﾀｲﾌﾟ ﾗｲﾌﾞﾗﾘ";
    EXPECT_TRUE(helpText == expectedHelp);
    typeLib.reset();

    EXPECT_EQ(library.unregisterServer(), S_OK);
    for (const char* gone : {"TolvakBar.TolvakEx.1", "TolvakBar.TolvakEx", kClassKey})
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, gone)) << gone;
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "CLSID"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "CLSID\\{0D1E2F30-4152-6374-8596-A7B8C9DAEBFC}"));
    EXPECT_NE(LoadRegTypeLib(LIBID_TOLVAKBARLib, 1, 0, 0, typeLib.put()), S_OK);
}

// Without the machine's consent the bar is registered for the current user and says so; a later
// registration for the machine takes the user's place; unregistering clears both.
TEST(BarRegistration, ForTheMachineWhenAllowedOtherwiseForTheUserAndUnregisteredFromBoth) {
    BarLibrary library;
    const testutil::BarUnregisteredAtEnd unregister;
    const struct {
        bool machineRefuses;
        HRESULT result;
        bool inMachine, inUser;
    } steps[] = {
        {true, S_FALSE, false, true},
        {false, S_OK, true, false},
        {true, S_FALSE, true, true},
    };
    for (const auto& step : steps) {
        {
            std::optional<MachineRefuses> refusing;
            if (step.machineRefuses) {
                ASSERT_TRUE(refusing.emplace().classes.ok());
            }
            EXPECT_EQ(library.registerServer(), step.result);
        }
        EXPECT_EQ(ServerIn(HKEY_LOCAL_MACHINE), step.inMachine ? library.path : "") << step.result;
        EXPECT_EQ(ServerIn(HKEY_CURRENT_USER), step.inUser ? library.path : "") << step.result;
    }
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, std::string("Software\\Classes\\") + kImplemented));
    EXPECT_EQ(library.unregisterServer(), S_OK);
    for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        for (const char* gone : {"TolvakBar.TolvakEx.1", "TolvakBar.TolvakEx", kClassKey})
            EXPECT_FALSE(KeyExists(root, std::string("Software\\Classes\\") + gone)) << gone;
}

// "regsvr32 /n /i:user", which a per-user installation runs: the user's classes only, even where
// the machine would allow more, so an administrator's own installation reaches no other user.
TEST(BarRegistration, DllInstallForTheUserLeavesTheMachineAlone) {
    BarLibrary library;
    const testutil::BarUnregisteredAtEnd unregister;
    ASSERT_TRUE(library.dllInstall);
    const struct {
        BOOL install;
        const wchar_t* commandLine;
        HRESULT result;
        bool inMachine, inUser;
    } steps[] = {
        {TRUE, L"bogus", E_INVALIDARG, false, false},
        {TRUE, L"User", S_FALSE, false, true},
        {FALSE, L"user", S_OK, false, false},
        {TRUE, L"", S_OK, true, false},
    };
    for (const auto& step : steps) {
        EXPECT_EQ(library.dllInstall(step.install, step.commandLine), step.result);
        EXPECT_EQ(ServerIn(HKEY_LOCAL_MACHINE), step.inMachine ? library.path : "") << step.result;
        EXPECT_EQ(ServerIn(HKEY_CURRENT_USER), step.inUser ? library.path : "") << step.result;
    }
}

TEST(BarRegistration, TheRegisteredClassIsCreatedThroughCom) {
    BarLibrary library;
    const testutil::BarUnregisteredAtEnd unregister;
    ASSERT_EQ(library.registerServer(), S_OK);
    win::ComPtr<IUnknown> band;
    ASSERT_EQ(CoCreateInstance(CLSID_TolvakEx, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(band.put())),
              S_OK);
    const struct {
        const IID* iid;
        HRESULT result;
    } interfaces[] = {{&IID_ITolvakEx, S_OK},         {&IID_IDispatch, S_OK},           {&IID_IDeskBand, S_OK},
                      {&IID_IInputObject, S_OK},      {&IID_IObjectWithSite, S_OK},     {&IID_IPersistStream, S_OK},
                      {&IID_IContextMenu, S_OK},      {&IID_IOleWindow, E_NOINTERFACE}, {&IID_IDockingWindow, E_NOINTERFACE},
                      {&IID_IPersist, E_NOINTERFACE}, {&IID_IClassFactory, E_NOINTERFACE}};
    for (const auto& face : interfaces) {
        win::ComPtr<IUnknown> asked;
        EXPECT_EQ(band->QueryInterface(*face.iid, reinterpret_cast<void**>(asked.put())), face.result);
    }

    win::ComPtr<IDispatch> dispatch;
    ASSERT_EQ(band->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.put())), S_OK);
    UINT count = 0;
    EXPECT_EQ(dispatch->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    win::ComPtr<ITypeInfo> info;
    ASSERT_EQ(dispatch->GetTypeInfo(0, 0, info.put()), S_OK);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
    EXPECT_TRUE(IsEqualGUID(attributes->guid, IID_ITolvakEx));
    info->ReleaseTypeAttr(attributes);
    wchar_t name[] = L"Anything";
    LPOLESTR names[] = {name};
    DISPID id = 0;
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id), DISP_E_UNKNOWNNAME);

    win::ComPtr<IPersistStream> persist;
    ASSERT_EQ(band->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(persist.put())), S_OK);
    CLSID clsid{};
    EXPECT_EQ(persist->GetClassID(&clsid), S_OK);
    EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_TolvakEx));
    EXPECT_EQ(persist->IsDirty(), S_FALSE);
}

// An installer registers through the exports, not through the program's menu: there too the
// shell must drop its cached lists of bars, or the bar stays missing after setup.
TEST(BarRegistration, RegisteringOrUnregisteringMakesTheShellForgetItsListsOfBars) {
    BarLibrary library;
    const testutil::BarUnregisteredAtEnd unregister;
    for (const RegisterFn exported : {library.registerServer, library.unregisterServer}) {
        const testutil::CachedBarLists cached;
        ASSERT_TRUE(cached.ok());
        EXPECT_EQ(exported(), S_OK);
        EXPECT_TRUE(testutil::CachedBarLists::Gone());
    }
}

TEST(BarRegistration, TheFactoryServesOnlyItsClassAndAggregates) {
    BarLibrary library;
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(library.getClassObject(IID_IDeskBand, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(library.getClassObject(CLSID_TolvakEx, IID_IClassFactory, nullptr), E_POINTER);

    win::ComPtr<IClassFactory> factory = library.Factory();
    CountingOuter outer;
    object = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(&outer, IID_IDeskBand, &object), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDeskBand, nullptr), E_POINTER);

    win::ComPtr<IUnknown> inner;
    ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(inner.put())), S_OK);
    win::ComPtr<IDeskBand> band;
    ASSERT_EQ(inner->QueryInterface(IID_IDeskBand, reinterpret_cast<void**>(band.put())), S_OK);
    EXPECT_EQ(outer.references, 2);  // the inner object's interfaces count on the outer object
    band.reset();
    EXPECT_EQ(outer.references, 1);
    inner.reset();
}

TEST(BarRegistration, UnloadingWaitsForBandsAndServerLocks) {
    BarLibrary library;
    EXPECT_EQ(library.canUnloadNow(), S_OK);
    win::ComPtr<IClassFactory> factory = library.Factory();
    EXPECT_EQ(library.canUnloadNow(), S_FALSE);  // a client holds the factory
    win::ComPtr<IUnknown> band;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(band.put())), S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory.reset();
    EXPECT_EQ(library.canUnloadNow(), S_FALSE);
    band.reset();
    EXPECT_EQ(library.canUnloadNow(), S_FALSE);  // the server lock
    library.Factory()->LockServer(FALSE);
    EXPECT_EQ(library.canUnloadNow(), S_OK);
}

// "&Tolvak を起動" from a folder whose name has a blank: the program beside the library starts,
// not "Program.exe" in the folder above.
TEST(BarRegistration, StartsTheProgramBesideTheLibraryByItsQuotedPath) {
    testutil::TempDir dir;
    BarLibrary built;
    const std::string folder = dir.MakeDir("Program Files");
    ASSERT_TRUE(CopyFileA(built.path.c_str(), (folder + "\\TolvakBar.dll").c_str(), FALSE));
    testutil::Recorder program(dir, "Program Files", "Tolvak.exe");
    const std::string recorder = path::ReplaceFileName(path::ModuleFile(nullptr), "record_args.exe");
    ASSERT_TRUE(CopyFileA(recorder.c_str(), (dir / "Program.exe").c_str(), FALSE));
    {
        const win::UniqueModule copy(LoadLibraryA((folder + "\\TolvakBar.dll").c_str()));
        auto getClassObject = win::ProcAddress<GetClassObjectFn>(copy.get(), MAKEINTRESOURCEA(2));
        ASSERT_TRUE(getClassObject);
        win::ComPtr<IClassFactory> factory;
        ASSERT_EQ(getClassObject(CLSID_TolvakEx, IID_IClassFactory, reinterpret_cast<void**>(factory.put())), S_OK);
        win::ComPtr<IContextMenu> menu;
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_IContextMenu, reinterpret_cast<void**>(menu.put())), S_OK);
        CMINVOKECOMMANDINFO info{};
        info.cbSize = sizeof info;
        info.lpVerb = MAKEINTRESOURCEA(1);
        EXPECT_EQ(menu->InvokeCommand(&info), S_OK);
        EXPECT_NE(program.WaitForCommandLine(), "");
    }
    EXPECT_FALSE(path::Exists(dir / "args.txt"));
    for (int i = 0; i < 100 && !DeleteFileA((dir / "Program.exe").c_str()); ++i) Sleep(50);
}

struct InstallFixture : testing::Test {
    testutil::MessageRecorder messages;
    testutil::CachedBarLists cached;

    void TearDown() override { bar::UnregisterServer(); }
};

TEST_F(InstallFixture, InstallingAsksRegistersAndForgetsTheShellsListOfBars) {
    messages.AnswerNext(IDNO);
    EXPECT_EQ(bar::Install(), bar::kInstallDeclined);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_FALSE(testutil::CachedBarLists::Gone());

    messages.AnswerNext(IDYES);
    EXPECT_EQ(bar::Install(), 0);
    ASSERT_EQ(messages.messages().size(), 2u);
    EXPECT_EQ(messages.messages()[1].text, "Tolvak Barをインストールしますか？");
    EXPECT_EQ(messages.messages()[1].caption, "インストール");
    EXPECT_EQ(messages.messages()[1].flags, UINT(MB_YESNO));
    EXPECT_EQ(Value(std::string(kClassKey) + "\\InprocServer32"), path::ModuleFile(nullptr));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kImplemented));
    EXPECT_TRUE(testutil::CachedBarLists::Gone());
}

TEST_F(InstallFixture, InstallingWithoutTheMachinesConsentSaysItIsForTheUser) {
    messages.AnswerNext(IDYES);
    {
        const MachineRefuses refusing;
        ASSERT_TRUE(refusing.classes.ok());
        EXPECT_EQ(bar::Install(), 2);
    }
    EXPECT_EQ(ServerIn(HKEY_CURRENT_USER), path::ModuleFile(nullptr));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, std::string("Software\\Classes\\") + kImplemented));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string("Software\\Classes\\") + kClassKey));
}

TEST_F(InstallFixture, UninstallingRemovesTheClassAndTheLinkListExtension) {
    ASSERT_EQ(bar::RegisterServer(), S_OK);
    const std::string extension = "Software\\Microsoft\\Internet Explorer\\MenuExt\\TLりんくりすと";
    const testutil::ScopedRegistryKey linkList(HKEY_CURRENT_USER, extension);
    ASSERT_TRUE(linkList.Set("inner\\deeper", ""));
    messages.AnswerNext(IDNO);
    EXPECT_EQ(bar::Uninstall(), 0);
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));

    messages.AnswerNext(IDYES);
    EXPECT_EQ(bar::Uninstall(), 0);
    EXPECT_EQ(messages.messages()[1].text, "Tolvak Bar, TLリンクリストをアンインストールしますか？");
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, extension));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\MenuExt"));
    EXPECT_TRUE(testutil::CachedBarLists::Gone());
}
