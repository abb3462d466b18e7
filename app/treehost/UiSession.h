// What a thread needs before it shows trees: the common controls, OLE in the single-threaded
// apartment (drag and drop), a client-only DDE instance for the add-item dialog, and the tree's
// clipboard formats. The program holds one session for its life; the browser bar one per band
// window, each on its browser window's thread, so every start is undone by its own end.
#pragma once

#include <base/Handles.h>

#include <optional>

namespace treehost {

class UiSession {
public:
    UiSession() = default;
    ~UiSession();
    UiSession(const UiSession&) = delete;
    UiSession& operator=(const UiSession&) = delete;

    // False when DDE cannot be initialised ("DDEの初期化に失敗しました。" has been shown then).
    bool Start();
    bool started() const { return usesDde_; }

private:
    std::optional<win::OleSession> ole_;
    bool usesDde_ = false;
};

}  // namespace treehost
