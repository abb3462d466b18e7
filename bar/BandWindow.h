// The band's "Tolvak_Wnd" window: the shared tree host with one tree ("Tolvak#1"), without status
// bar and link checks, a child of the browser's bar. It reports its focus changes to the band.
#pragma once

#include <app/treehost/TreeHost.h>
#include <app/treehost/UiSession.h>

#include <optional>
#include <string>

namespace bar {

class BandWindow final : public treehost::TreeHost {
public:
    struct FocusListener {
        virtual void OnBandFocus(bool focused) = 0;

    protected:
        ~FocusListener() = default;
    };

    BandWindow(std::string settingsPath, FocusListener& listener);
    ~BandWindow() override;

    // Creates the window in `parent` (settings and font read afresh); false when it could not
    // be made. A window that exists already is kept.
    bool Create(HWND parent);
    // The tree's node under the cursor, or null.
    HTREEITEM NodeUnderCursor() const;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCreate() override;
    void PrepareTree(CFavTreeView& tree) override { tree.DisableLinkChecks(); }
    // The trees, the font and this thread's share of OLE and DDE go with the window.
    void OnWindowGone() override;

private:
    FocusListener& listener_;
    std::optional<treehost::UiSession> session_;
};

}  // namespace bar
