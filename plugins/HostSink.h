// The host's sink as both plug-ins use it: the wide calls where the host offers them, the ANSI
// calls with text converted to and from the code page where it does not (an older host).
#pragma once

#include <pluginapi/PluginInterface.h>

#include <optional>
#include <string>

namespace plugin {

class HostSink {
public:
    explicit HostSink(ImportSink& sink);

    ImportSink& sink() const { return sink_; }
    bool wide() const { return wide_ != nullptr; }

    // The item's label, exact where the host has the wide calls; `units` is the first buffer
    // tried, larger ones follow while the text fills it. Empty when there is no item.
    std::wstring Text(ItemHandle item, int units) const;
    // The URL of a shortcut or imported item; nothing for every other item.
    std::optional<std::wstring> Url(ItemHandle item, int units) const;

    // AddNode's folders and items; an older host gets the names in its code page.
    ItemHandle AddFolder(ItemHandle parent, const std::wstring& name) const;
    ItemHandle AddItem(ItemHandle parent, const std::wstring& name, const std::wstring& url) const;
    // A message item; its text is the plug-in's own, in the code page.
    ItemHandle AddMessage(ItemHandle parent, const char* text) const;

private:
    ImportSink& sink_;
    WideImportSink* wide_ = nullptr;
};

}  // namespace plugin
