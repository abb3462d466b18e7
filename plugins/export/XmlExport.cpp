#include "XmlExport.h"

#include "Destination.h"
#include "OutputFiles.h"
#include "TreeReader.h"
#include "XmlWriter.h"

#include <base/Format.h>

namespace exporter {
namespace {

constexpr char kCannotCreate[] = "ファイルを作成できませんでした。\r\n%s";
constexpr char kCannotWrite[] = "ファイルに書き込めませんでした。\r\n%s";

}  // namespace

int ExportXml(plugin::ImportSink& sink, const char* path) {
    const HWND owner = sink.GetOwnerWindow();
    const std::optional<std::string> file = path ? std::optional<std::string>(path) : AskXmlFile(owner);
    if (!file) return 1;

    switch (WriteWholeFile(*file, XmlDocument(ReadTree(sink)))) {
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

}  // namespace exporter
