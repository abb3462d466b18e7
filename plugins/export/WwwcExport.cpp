#include "WwwcExport.h"

#include "Destination.h"
#include "ItemDatWriter.h"
#include "OutputFiles.h"
#include "TreeReader.h"

#include <base/Format.h>
#include <base/Path.h>

#include <vector>

namespace exporter {
namespace {

constexpr char kOutputFolder[] = "Exported";
constexpr char kListFile[] = "Item.dat";
constexpr char kAlreadyExists[] = "%s が既にあるため、出力しませんでした。";
constexpr char kFoldersFailed[] = "次のフォルダを出力できませんでした。\r\n%s";
constexpr char kMoreFolders[] = "\r\nほか %d 件";
constexpr size_t kMaxListed = 10;

// Writes `folder` into `target`; folders that could not be written are added to `failed`.
// The top folder's list goes into `target` itself, every other folder into a folder of its own.
void WriteFolder(const ExportNode& folder, const std::string& target, bool top, std::vector<std::string>& failed) {
    if (!folder.hasChildren) return;
    std::string output = target;
    if (!top) {
        output = path::Join(target, folder.label);
        // A name that is not one plain folder name could reach outside the output folder.
        if (!IsPlainFolderName(folder.label) || !CreateDirectoryA(output.c_str(), nullptr)) {
            failed.push_back(output);
            return;
        }
    }
    const WriteResult list = WriteWholeFile(path::Join(output, kListFile), ItemDatContent(folder));
    if (list != WriteResult::Written) failed.push_back(output);
    if (list == WriteResult::NotCreated) return;
    for (const ExportNode& child : folder.children)
        if (child.kind == ExportNode::Kind::Folder) WriteFolder(child, output, false, failed);
}

// The first few paths, one per line; a full disk would otherwise fill the box with all of them.
std::string Listing(const std::vector<std::string>& paths) {
    std::string lines;
    for (size_t i = 0; i < paths.size() && i < kMaxListed; ++i) lines += (i ? "\r\n" : "") + paths[i];
    if (paths.size() > kMaxListed) lines += text::Format(kMoreFolders, static_cast<int>(paths.size() - kMaxListed));
    return lines;
}

}  // namespace

int ExportWwwc(plugin::ImportSink& sink, const char* path) {
    // The folder browser's owner is the window the user chose the command in.
    HWND owner = GetActiveWindow();
    if (!owner) owner = sink.GetOwnerWindow();
    const std::optional<std::string> chosen = path ? std::optional<std::string>(path) : AskWwwcFolder(owner);
    if (!chosen) return 1;

    const std::string target = path::Join(path::WithoutTrailingSeparator(*chosen), kOutputFolder);
    // An earlier export is never overwritten.
    if (GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
        ReportProblem(owner, text::Format(kAlreadyExists, target.c_str()));
        return 1;
    }
    const ExportNode tree = ReadTree(sink);
    std::vector<std::string> failed;
    if (!CreateDirectoryA(target.c_str(), nullptr))
        failed.push_back(target);
    else
        WriteFolder(tree, target, true, failed);
    if (failed.empty()) return 0;
    ReportProblem(owner, text::Format(kFoldersFailed, Listing(failed).c_str()));
    return 1;
}

}  // namespace exporter
