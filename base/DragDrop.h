// Small OLE drag-and-drop objects: a drop target that turns every drag event into a message to
// a window, a data object that renders its formats on demand through a message, and a drop
// source for a plain left-button drag. All reference-counted, starting at one reference.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <optional>
#include <string>
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

}  // namespace dnd
