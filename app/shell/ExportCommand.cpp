#include "ExportCommand.h"

#include <base/Handles.h>
#include <base/MessageBox.h>
#include <pluginapi/PluginInterface.h>
#include <tree/TreeImportSink.h>
#include <tree/TreeModule.h>

namespace app {
namespace {

constexpr char kExportLibraryMissing[] = "エクスポート用DLL[tlExport.dll]が見つかりませんでした。";
constexpr char kFormatNotSupported[] = "指定の形式はサポートされていません。";

}  // namespace

void ExportTree(CFavTreeView& tree, HWND owner, const char* format) {
    // From the program's folder only: by plain name the system would also take a library of that
    // name from the current folder, which may be any folder the user last worked in.
    win::UniqueModule module(LoadLibraryA(fav::BesideTreeModule(plugin::kExportLibrary).c_str()));
    const auto create = win::ProcAddress<plugin::CreateHandlerFunction>(module.get(), plugin::kExportExport);
    if (!create) {
        ui::ShowMessage(owner, kExportLibraryMissing, "", MB_OK);
        return;
    }
    plugin::FormatHandler* handler = nullptr;
    if (create(format, &handler) != 0 || !handler) {
        ui::ShowMessage(owner, kFormatNotSupported, "", MB_OK);
        return;
    }
    TreeImportSink sink(tree);
    handler->SetSink(&sink);
    handler->Run(nullptr, nullptr);
    handler->Release();
}

}  // namespace app
