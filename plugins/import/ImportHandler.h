// The FormatHandler the host runs for one import: SetSink, Run and Release, once each.
#pragma once

#include "FormatCatalogue.h"

#include <pluginapi/PluginInterface.h>

namespace importer {

class ImportHandler final : public plugin::FormatHandler {
public:
    explicit ImportHandler(ImportFormat format) : format_(format) {}
    ImportHandler(const ImportHandler&) = delete;
    ImportHandler& operator=(const ImportHandler&) = delete;

    // Releases the sink and frees the handler: the host makes no call afterwards.
    int STDMETHODCALLTYPE Release() override;
    int STDMETHODCALLTYPE Kind(int ignored) override;
    int STDMETHODCALLTYPE SetSink(plugin::ImportSink* sink) override;
    // Adds the source at `path` below `parent`; problems become message items there. 0 on success.
    int STDMETHODCALLTYPE Run(char* path, plugin::ItemHandle parent) override;

private:
    ~ImportHandler() = default;

    int RunFile(const char* path, plugin::ItemHandle parent);
    int RunFolder(char* path, plugin::ItemHandle parent);
    int RunPlaces(const char* path, plugin::ItemHandle parent);
    void AddMessage(plugin::ItemHandle parent, const char* text);

    const ImportFormat format_;
    plugin::ImportSink* sink_ = nullptr;
};

}  // namespace importer
