#include "DocumentExport.h"

#include "Destination.h"
#include "NetscapeWriter.h"
#include "OutputFiles.h"
#include "TreeReader.h"
#include "XmlWriter.h"

#include <base/Format.h>

namespace exporter {
namespace {

constexpr char kCannotCreate[] = "ファイルを作成できませんでした。\r\n%s";
constexpr char kCannotWrite[] = "ファイルに書き込めませんでした。\r\n%s";

}  // namespace

int ExportDocument(plugin::ImportSink& sink, const char* path, const DocumentFormat& format) {
    const HWND owner = sink.GetOwnerWindow();
    const std::optional<std::string> file = path ? std::optional<std::string>(path) : format.ask(owner);
    if (!file) return 1;

    switch (WriteWholeFile(*file, format.write(ReadTree(sink)))) {
        case WriteResult::Written:
            return 0;
        case WriteResult::NotCreated:
            ReportProblem(owner, text::Format(kCannotCreate, file->c_str()));
            return 1;
        case WriteResult::NotWritten:
            ReportProblem(owner, text::Format(kCannotWrite, file->c_str()));
            return 1;
    }
    return 1;
}

int ExportXml(plugin::ImportSink& sink, const char* path) { return ExportDocument(sink, path, {AskXmlFile, XmlDocument}); }

int ExportNetscape(plugin::ImportSink& sink, const char* path) {
    return ExportDocument(sink, path, {AskHtmlFile, NetscapeDocument});
}

}  // namespace exporter
