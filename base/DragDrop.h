// Small OLE drag-and-drop objects: a drop target that turns every drag event into a message to
// a window, a data object that renders its formats on demand through a message, and a drop
// source for a plain left-button drag. All reference-counted, starting at one reference.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dnd {

enum DragEvent : WPARAM { kEnter = 0, kOver = 1, kLeave = 2, kDrop = 3 };

// What the window gets with each drag event (the message's second parameter).
struct DropNotify {
    const POINT* cursor = nullptr;   // screen position; none for leave
    DWORD effect = DROPEFFECT_NONE;  // in/out: the effect the receiver wants; kept for one drag
    DWORD keyState = 0;
    UINT format = 0;                 // enter and drop: the first accepted format offered (0: none)
    HGLOBAL data = nullptr;          // that format's data, valid during the message only
    IDataObject* dataObject = nullptr;  // enter and drop only
};

// Registers `window` as a drop target for `formats` (in order of preference); events arrive as
// `message` with the DragEvent and the DropNotify address. A result of 1 from the window refuses.
bool RegisterDropTarget(HWND window, UINT message, const std::vector<UINT>& formats);
void RevokeDropTarget(HWND window);
// The drop target object itself, unregistered (what RegisterDropTarget hands to OLE).
IDropTarget* CreateDropTarget(HWND window, UINT message, const std::vector<UINT>& formats);

// A data object offering `formats` as global memory; each is rendered when asked by sending
// `renderMessage` to `renderer` with the format and the address of an HGLOBAL to fill.
IDataObject* CreateDataObject(HWND renderer, UINT renderMessage, const std::vector<UINT>& formats);
IDropSource* CreateDropSource();

// A copy of the bytes of `format` in `data` when it offers them as global memory.
std::optional<std::string> GetGlobalBytes(IDataObject* data, UINT format);

// The shell's wide formats for links, registered on first use: "UniformResourceLocatorW" (the
// address in UTF-16), "FileGroupDescriptorW" (names of files offered as "FileContents").
UINT WideUrlFormat();
UINT WideFileGroupFormat();
UINT FileContentsFormat();

// Movable global memory holding a copy of the bytes; null when none could be had.
HGLOBAL GlobalCopy(const void* bytes, size_t size);
// UTF-16 text with its terminating NUL, as CF_UNICODETEXT and "UniformResourceLocatorW" hold it.
HGLOBAL GlobalWideText(std::wstring_view text);
// A "FileGroupDescriptorW" naming one file (cut to MAX_PATH - 1 characters).
HGLOBAL WideFileGroup(std::wstring_view name);
// The text of global memory up to its first NUL, never past its end.
std::string TextOf(HGLOBAL data);
std::wstring WideTextOf(HGLOBAL data);
// The name of the first file that `data` describes: the wide descriptor where offered, otherwise
// the ANSI one in the code page; nothing when neither is offered.
std::optional<std::wstring> FirstDescribedFile(IDataObject* data);

}  // namespace dnd
