#include "ExportHandler.h"

#include "DocumentExport.h"
#include "WwwcExport.h"

namespace exporter {

int STDMETHODCALLTYPE ExportHandler::Release() {
    if (sink_) sink_->Release();
    delete this;
    return 0;
}

// Bit 0: the handler writes; bit 1: its destination is a folder.
int STDMETHODCALLTYPE ExportHandler::Kind(int) { return format_ == ExportFormat::Wwwc ? 3 : 1; }

int STDMETHODCALLTYPE ExportHandler::SetSink(plugin::ImportSink* sink) {
    sink_ = sink;
    return 0;
}

int STDMETHODCALLTYPE ExportHandler::Run(char* path, plugin::ItemHandle) {
    if (!sink_) return 1;
    // Nothing may leave through the host's call; running out of memory is a failed export.
    try {
        switch (format_) {
            case ExportFormat::Xml: return ExportXml(*sink_, path);
            case ExportFormat::Wwwc: return ExportWwwc(*sink_, path);
            case ExportFormat::Netscape: return ExportNetscape(*sink_, path);
        }
        return 1;
    } catch (...) {
        return 1;
    }
}

}  // namespace exporter
