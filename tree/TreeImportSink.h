// The tree's side of the plug-in interface: the callback object a plug-in reads the tree through
// and adds imported folders and items with, in the code page or, through the wide calls, exactly.
#pragma once

#include "CFavTreeView.h"

#include <pluginapi/PluginInterface.h>

class TreeImportSink final : public plugin::WideImportSink {
public:
    explicit TreeImportSink(CFavTreeView& tree) : tree_(tree) {}
    TreeImportSink(const TreeImportSink&) = delete;
    TreeImportSink& operator=(const TreeImportSink&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HWND STDMETHODCALLTYPE GetOwnerWindow() override;
    plugin::ItemHandle STDMETHODCALLTYPE GetRoot() override;
    plugin::ItemHandle STDMETHODCALLTYPE GetChild(plugin::ItemHandle item) override;
    plugin::ItemHandle STDMETHODCALLTYPE GetNextSibling(plugin::ItemHandle item) override;
    BOOL STDMETHODCALLTYPE GetText(plugin::ItemHandle item, char* buffer, int size) override;
    BOOL STDMETHODCALLTYPE GetURL(plugin::ItemHandle item, char* buffer, int size) override;
    BOOL STDMETHODCALLTYPE IsFolder(plugin::ItemHandle item) override;
    plugin::ItemHandle STDMETHODCALLTYPE AddNode(plugin::ItemHandle parent, const char* name, const char* url,
                                                 int kind) override;
    BOOL STDMETHODCALLTYPE GetTextW(plugin::ItemHandle item, wchar_t* buffer, int size) override;
    BOOL STDMETHODCALLTYPE GetURLW(plugin::ItemHandle item, wchar_t* buffer, int size) override;
    plugin::ItemHandle STDMETHODCALLTYPE AddNodeW(plugin::ItemHandle parent, const wchar_t* name, const wchar_t* url,
                                                  int kind) override;

    // Folders and items the tree refused (more URLs than the item parameter can index, no memory).
    unsigned long leftOut() const { return leftOut_; }

private:
    CFavTreeView& tree_;
    unsigned long leftOut_ = 0;
};
