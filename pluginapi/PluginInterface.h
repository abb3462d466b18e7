// The interface between the hosts (Tolvak.exe, TolvakBar.dll) and the plug-ins (tlImport.dll,
// tlExport.dll). Both sides compile this one header.
//
// Who owns what:
// - Strings crossing the interface (format codes, paths, names, URLs) are ANSI text in the system
//   code page, NUL-terminated, and only borrowed for the call: the receiver copies what it keeps.
// - A FormatHandler is made by the plug-in's `import` / `export` export and belongs to the plug-in
//   (its own allocator). The host calls SetSink, Run and Release once each, in that order, and
//   makes no call after Release. The host never frees a handler.
// - An ImportSink is made by the host for one operation and lives on the host's stack. The plug-in
//   never frees it; its AddRef and Release do nothing. Everything the plug-in reads from or adds
//   to the tree goes through the sink.
// - Item handles are the tree control's own item handles (pointer-sized); null means no item.
// - Wide text (WideImportSink) is UTF-16, NUL-terminated, borrowed for the call as above. A host
//   that has the wide calls answers QueryInterface(IID_WideImportSink) with S_OK and the sink
//   itself; an older host answers with a failure (E_NOTIMPL, E_NOINTERFACE) and the plug-in keeps
//   to the ANSI calls. The pointer QueryInterface gives lives exactly as long as the sink; AddRef
//   and Release on it do nothing, and the plug-in releases nothing for it. Both sets of calls
//   may be mixed on one sink.
// - The library is loaded for one operation and unloaded right after it.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace plugin {

using ItemHandle = HTREEITEM;

// AddNode kinds.
inline constexpr int kAddFolder = 1;
inline constexpr int kAddItem = 2;

// The URL argument of AddNode for an item without URL (a message shown in the tree).
inline const char* const NoURL = reinterpret_cast<const char*>(~static_cast<UINT_PTR>(0));

// The host's callback object over one tree. Slot order is fixed: it follows the COM layout.
struct ImportSink {
    // S_OK and the sink for IID_WideImportSink where the host has the wide calls; otherwise a
    // failure (E_NOTIMPL) and a null object.
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;                                    // no effect
    virtual ULONG STDMETHODCALLTYPE Release() = 0;                                   // no effect
    // The tree control's window: the owner for the plug-in's dialogs.
    virtual HWND STDMETHODCALLTYPE GetOwnerWindow() = 0;
    // The first top-level item.
    virtual ItemHandle STDMETHODCALLTYPE GetRoot() = 0;
    virtual ItemHandle STDMETHODCALLTYPE GetChild(ItemHandle item) = 0;
    virtual ItemHandle STDMETHODCALLTYPE GetNextSibling(ItemHandle item) = 0;
    // The item's label, cut to fit `size` bytes including the NUL; FALSE when there is no item.
    virtual BOOL STDMETHODCALLTYPE GetText(ItemHandle item, char* buffer, int size) = 0;
    // TRUE with the URL of a shortcut or imported item; FALSE for everything else.
    virtual BOOL STDMETHODCALLTYPE GetURL(ItemHandle item, char* buffer, int size) = 0;
    // TRUE only for a folder on disk.
    virtual BOOL STDMETHODCALLTYPE IsFolder(ItemHandle item) = 0;
    // kAddFolder: appends an imported folder and returns it (null when refused); `url` is ignored.
    // kAddItem: appends an imported item opening `url` (or none for NoURL); returns a non-null
    // value on success. Any other kind adds nothing and returns null.
    virtual ItemHandle STDMETHODCALLTYPE AddNode(ItemHandle parent, const char* name, const char* url, int kind) = 0;
};

// {6F1C8E52-3A7D-4B29-9E04-5D2B17C4A3E1}: the wide extension of ImportSink.
inline constexpr GUID IID_WideImportSink = {0x6f1c8e52, 0x3a7d, 0x4b29, {0x9e, 0x04, 0x5d, 0x2b, 0x17, 0xc4, 0xa3, 0xe1}};

// The URL argument of AddNodeW for an item without URL.
inline const wchar_t* const NoURLW = reinterpret_cast<const wchar_t*>(~static_cast<UINT_PTR>(0));

// The sink with UTF-16 calls: labels and addresses exactly, whatever the code page lacks. The
// first eleven slots are ImportSink's; these follow them.
struct WideImportSink : ImportSink {
    // As GetText and GetURL; `size` counts UTF-16 units including the NUL, and a cut never
    // separates the two halves of a surrogate pair.
    virtual BOOL STDMETHODCALLTYPE GetTextW(ItemHandle item, wchar_t* buffer, int size) = 0;
    virtual BOOL STDMETHODCALLTYPE GetURLW(ItemHandle item, wchar_t* buffer, int size) = 0;
    // As AddNode, with NoURLW for an item without URL.
    virtual ItemHandle STDMETHODCALLTYPE AddNodeW(ItemHandle parent, const wchar_t* name, const wchar_t* url, int kind) = 0;
};

// One import or export operation, made by a plug-in. Slot order is fixed.
struct FormatHandler {
    // Releases the sink (when one was set); the host makes no call afterwards.
    virtual int STDMETHODCALLTYPE Release() = 0;
    // 0 import from a file, 2 import from a folder, 1 export to a file, 3 export to a folder.
    virtual int STDMETHODCALLTYPE Kind(int ignored) = 0;
    virtual int STDMETHODCALLTYPE SetSink(ImportSink* sink) = 0;
    // Import: `path` is the source, new nodes go below `parent`. Export: a null path makes the
    // plug-in ask the user for the destination. 0 on success, 1 on failure.
    virtual int STDMETHODCALLTYPE Run(char* path, ItemHandle parent) = 0;
};

// The exports, found by GetProcAddress under the names "import" / "export" and "enumerate".
// `import` / `export`: 0 and a new handler in *handler for a known code; 1 and no change when the
// code is unknown (codes are case-sensitive), `handler` is null or *handler is not null.
using CreateHandlerFunction = int(WINAPI*)(const char* code, FormatHandler** handler);
// 1 for 0, else 0.
using EnumerateFunction = int(WINAPI*)(int value);

inline constexpr char kImportLibrary[] = "tlImport.dll";
inline constexpr char kExportLibrary[] = "tlExport.dll";
inline constexpr char kImportExport[] = "import";
inline constexpr char kExportExport[] = "export";
inline constexpr char kEnumerateExport[] = "enumerate";

}  // namespace plugin
