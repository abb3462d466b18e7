#include "Registration.h"

#include "BarGuids.h"
#include "Module.h"

#include <base/Handles.h>
#include <base/Path.h>
#include <base/Registry.h>
#include <base/TextEncoding.h>

#include <oleauto.h>

#include <string>

namespace bar {
namespace {

constexpr char kClassKey[] = "CLSID\\{7C41B5E0-3A6F-11d4-8E3F-2A61C0D94B17}";
constexpr char kProgId[] = "TolvakBar.TolvakEx.1";
constexpr char kIndependentProgId[] = "TolvakBar.TolvakEx";

enum class Data { kText, kModulePath, kNone };

struct RegistryEntry {
    const char* key;   // below the classes root
    const char* name;  // null: the key's default value
    Data kind;
    const char* text;
};

// Written in this order, after the class key went as a whole.
constexpr RegistryEntry kEntries[] = {
    {"TolvakBar.TolvakEx.1", nullptr, Data::kText, "TolvakEx Class"},
    {"TolvakBar.TolvakEx.1\\CLSID", nullptr, Data::kText, kClassIdText},
    {"TolvakBar.TolvakEx", nullptr, Data::kText, "TolvakEx Class"},
    {"TolvakBar.TolvakEx\\CLSID", nullptr, Data::kText, kClassIdText},
    {"TolvakBar.TolvakEx\\CurVer", nullptr, Data::kText, kProgId},
    {"CLSID\\{7C41B5E0-3A6F-11d4-8E3F-2A61C0D94B17}", nullptr, Data::kText, "&TolvakBar"},
    {"CLSID\\{7C41B5E0-3A6F-11d4-8E3F-2A61C0D94B17}\\ProgID", nullptr, Data::kText, kProgId},
    {"CLSID\\{7C41B5E0-3A6F-11d4-8E3F-2A61C0D94B17}\\VersionIndependentProgID", nullptr, Data::kText, kIndependentProgId},
    {"CLSID\\{7C41B5E0-3A6F-11d4-8E3F-2A61C0D94B17}\\InprocServer32", nullptr, Data::kModulePath, nullptr},
    {"CLSID\\{7C41B5E0-3A6F-11d4-8E3F-2A61C0D94B17}\\InprocServer32", "ThreadingModel", Data::kText, "Apartment"},
    {"CLSID\\{7C41B5E0-3A6F-11d4-8E3F-2A61C0D94B17}\\Implemented Categories\\{00021493-0000-0000-C000-000000000046}",
     nullptr, Data::kNone, nullptr},
};

// The shell's cached lists of vertical bars: until they go, the shell keeps showing the bars it
// found when it built them, so a bar just registered stays missing from the browser's menu.
constexpr const char* kCachedBarLists[] = {
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Discardable\\PostSetup\\Component Categories\\"
    "{00021493-0000-0000-C000-000000000046}\\Enum",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Discardable\\PostSetup\\Component Categories64\\"
    "{00021493-0000-0000-C000-000000000046}\\Enum",
};

HRESULT FromWin32(LONG error) { return error == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(error); }

LSTATUS Write(HKEY classes, const RegistryEntry& entry, const std::string& modulePath) {
    if (entry.kind == Data::kNone) return win::WriteTextValues(classes, entry.key, {});
    const win::TextValue value{entry.name, entry.kind == Data::kModulePath ? modulePath : std::string(entry.text)};
    return win::WriteTextValues(classes, entry.key, {&value, 1});
}

// The classes below `root` (the machine's or the user's; the system shows both merged, the
// user's first, as HKEY_CLASSES_ROOT), opened for writing.
win::UniqueKey OpenClasses(HKEY root, LSTATUS& status) {
    HKEY classes = nullptr;
    status = RegCreateKeyExA(root, "Software\\Classes", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                             nullptr, &classes, nullptr);
    return win::UniqueKey(status == ERROR_SUCCESS ? classes : nullptr);
}

void RemoveEntries(HKEY classes) {
    for (const char* key : {kProgId, kIndependentProgId, kClassKey}) RegDeleteTreeA(classes, key);
}

// `root`: whose classes the entries go below. What a failed write got done goes again.
LSTATUS WriteEntries(HKEY root, const std::string& modulePath) {
    LSTATUS status = ERROR_SUCCESS;
    const win::UniqueKey classes = OpenClasses(root, status);
    if (!classes) return status;
    // A class key left by an earlier version goes with everything below it.
    RegDeleteTreeA(classes.get(), kClassKey);
    for (const RegistryEntry& entry : kEntries)
        if ((status = Write(classes.get(), entry, modulePath)) != ERROR_SUCCESS) break;
    if (status != ERROR_SUCCESS) RemoveEntries(classes.get());
    return status;
}

void RemoveEntriesOf(HKEY root) {
    LSTATUS ignored = ERROR_SUCCESS;
    if (const win::UniqueKey classes = OpenClasses(root, ignored)) RemoveEntries(classes.get());
}

void ForgetCachedBarLists() {
    for (const char* key : kCachedBarLists) RegDeleteTreeA(HKEY_CURRENT_USER, key);
}

// The type library functions for the machine and for the current user share their signatures;
// the user's are bound by name (the headers lack them, older systems too).
struct TypeLibFunctions {
    const char* registerName;
    const char* unregisterName;
};

TypeLibFunctions TypeLibFunctionsFor(HKEY root) {
    if (root == HKEY_CURRENT_USER) return {"RegisterTypeLibForUser", "UnRegisterTypeLibForUser"};
    return {"RegisterTypeLib", "UnRegisterTypeLib"};
}

HRESULT RegisterTypeLibrary(const std::string& modulePath, HKEY root) {
    using RegisterFn = HRESULT(WINAPI*)(ITypeLib*, OLECHAR*, OLECHAR*);
    const win::UniqueModule oleaut(LoadLibraryA("oleaut32.dll"));
    const auto registerLibrary = win::ProcAddress<RegisterFn>(oleaut.get(), TypeLibFunctionsFor(root).registerName);
    if (!registerLibrary) return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
    std::wstring file = text::AnsiToWide(modulePath);
    win::ComPtr<ITypeLib> library;
    const HRESULT loaded = LoadTypeLibEx(file.c_str(), REGKIND_NONE, library.put());
    if (FAILED(loaded)) return loaded;
    // The help folder is the library's own folder, without its file name.
    std::wstring helpFolder = file.substr(0, file.find_last_of(L'\\'));
    return registerLibrary(library.get(), file.data(), helpFolder.data());
}

void UnregisterTypeLibrary(const std::string& modulePath, HKEY root) {
    win::ComPtr<ITypeLib> library;
    if (FAILED(LoadTypeLibEx(text::AnsiToWide(modulePath).c_str(), REGKIND_NONE, library.put())) || !library) return;
    TLIBATTR* attributes = nullptr;
    if (FAILED(library->GetLibAttr(&attributes)) || !attributes) return;
    const TLIBATTR copy = *attributes;
    library->ReleaseTLibAttr(attributes);
    // Bound at run time: where the system lacks it the type library simply stays registered.
    using UnregisterFn = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);
    const win::UniqueModule oleaut(LoadLibraryA("oleaut32.dll"));
    if (auto unregister = win::ProcAddress<UnregisterFn>(oleaut.get(), TypeLibFunctionsFor(root).unregisterName))
        unregister(copy.guid, copy.wMajorVerNum, copy.wMinorVerNum, copy.lcid, copy.syskind);
}

}  // namespace

// Whoever registers (the program's menu, an installer, regsvr32), the cached lists go afterwards,
// also after a failure, which may have removed the class key already.
HRESULT RegisterServer(Scope scope) {
    const std::string modulePath = ModulePath();
    const auto write = [&](HKEY root) { return WriteEntries(root, modulePath); };
    const win::Written written = scope == Scope::kCurrentUser
                                     ? win::Written{write(HKEY_CURRENT_USER), HKEY_CURRENT_USER}
                                     : win::WriteForMachineOrUser(write);
    HRESULT result = FromWin32(written.status);
    if (SUCCEEDED(result)) result = RegisterTypeLibrary(modulePath, written.root);
    // A registration of the user's own from earlier would hide the machine's from this user.
    if (SUCCEEDED(result) && written.root == HKEY_LOCAL_MACHINE) RemoveEntriesOf(HKEY_CURRENT_USER);
    ForgetCachedBarLists();
    if (FAILED(result)) return result;
    return written.root == HKEY_CURRENT_USER ? kRegisteredForUser : S_OK;
}

HRESULT UnregisterServer() {
    const std::string modulePath = ModulePath();
    for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        RemoveEntriesOf(root);
        UnregisterTypeLibrary(modulePath, root);
    }
    ForgetCachedBarLists();
    return S_OK;
}

HRESULT InstallCommand(bool install, const wchar_t* commandLine) {
    const bool forUser = commandLine && CompareStringOrdinal(commandLine, -1, L"user", -1, TRUE) == CSTR_EQUAL;
    if (commandLine && *commandLine && !forUser) return E_INVALIDARG;
    if (!install) return UnregisterServer();
    return RegisterServer(forUser ? Scope::kCurrentUser : Scope::kMachineOrUser);
}

}  // namespace bar
