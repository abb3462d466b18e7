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
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) = 0;  // always E_NOTIMPL
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
