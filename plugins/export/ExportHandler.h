// The FormatHandler the host runs for one export: SetSink, Run and Release, once each.
#pragma once

#include "FormatCatalogue.h"

#include <pluginapi/PluginInterface.h>

namespace exporter {

class ExportHandler final : public plugin::FormatHandler {
public:
    explicit ExportHandler(ExportFormat format) : format_(format) {}
    ExportHandler(const ExportHandler&) = delete;
    ExportHandler& operator=(const ExportHandler&) = delete;

    // Releases the sink and frees the handler: the host makes no call afterwards.
    int STDMETHODCALLTYPE Release() override;
    int STDMETHODCALLTYPE Kind(int ignored) override;
    int STDMETHODCALLTYPE SetSink(plugin::ImportSink* sink) override;
    // Exports the sink's tree; a null path asks the user for the destination. 0 on success.
    int STDMETHODCALLTYPE Run(char* path, plugin::ItemHandle parent) override;

private:
    ~ExportHandler() = default;

    const ExportFormat format_;
    plugin::ImportSink* sink_ = nullptr;
};

}  // namespace exporter
