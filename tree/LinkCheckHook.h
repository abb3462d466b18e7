// The point where a tree meets its link checker. The tree library carries no checker of its own
// (the browser bar has none): the program installs a factory at start-up, and each tree creates its
// checker from it on the first check. Without a factory the check command does nothing.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>

class CFavTreeView;

namespace fav {

// One tree's checks. Everything runs on the tree's thread; completions arrive as messages to the
// tree window, which passes them on through HandleMessage.
class TreeLinkChecks {
public:
    virtual ~TreeLinkChecks() = default;
    // Queues the shortcut, or the shortcuts directly inside the folder, and starts what fits.
    virtual void Check(HTREEITEM node) = 0;
    // Before the tree is rebuilt: false when checks run and the user keeps them (no reload).
    virtual bool StopBeforeReload() = 0;
    // The node is being removed from the tree: its checks end, nothing touches it afterwards.
    virtual void Forget(HTREEITEM node) = 0;
    // The tree window is going: every check ends without a word.
    virtual void Abandon() = 0;
    // True when the message was the checker's; `result` is its answer. Some messages are handled
    // and still passed on (false).
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) = 0;
    // What the last check of the node found ("HTTP 301", a failure's text), for the status bar;
    // exact, since a moved page's new address is part of it.
    virtual std::optional<std::wstring> Outcome(HTREEITEM node) const = 0;
    // After the tree was (re)loaded: shows the kept results of earlier sessions.
    virtual void ShowKeptResults() = 0;
};

using LinkCheckFactory = std::unique_ptr<TreeLinkChecks> (*)(CFavTreeView& tree);

// Installs the factory every tree uses from now on (null: no link checking).
void InstallLinkChecker(LinkCheckFactory factory);
LinkCheckFactory InstalledLinkChecker();

}  // namespace fav
