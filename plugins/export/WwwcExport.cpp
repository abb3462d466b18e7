#include "WwwcExport.h"

#include "Destination.h"
#include "ItemDatWriter.h"
#include "OutputFiles.h"
#include "TreeReader.h"

#include <base/FileSystem.h>
#include <base/Format.h>
#include <base/Path.h>
#include <base/TextEncoding.h>

#include <vector>

namespace exporter {
namespace {

constexpr wchar_t kOutputFolder[] = L"Exported";
constexpr wchar_t kListFile[] = L"Item.dat";
constexpr char kAlreadyExists[] = "%s が既にあるため、出力しませんでした。";
constexpr char kFoldersFailed[] = "次のフォルダを出力できませんでした。\r\n%s";
constexpr char kMoreFolders[] = "\r\nほか %d 件";
constexpr size_t kMaxListed = 10;

// Writes `tree` into `target`; folders that could not be written are added to `failed`. The root's
// list goes into `target` itself, every other folder into a folder of its own inside its parent's.
// Folders wait in a list rather than on the call stack, so no depth exhausts it. Folder names
// are the labels exactly, whatever the code page lacks.
void WriteFolders(const ExportTree& tree, const std::wstring& target, std::vector<std::wstring>& failed) {
    struct PendingFolder {
        size_t position;
        std::wstring output;  // where its list goes; its own folder is still to be made (but the root's)
    };
    std::vector<PendingFolder> pending{{0, target}};
    while (!pending.empty()) {
        const PendingFolder next = std::move(pending.back());
        pending.pop_back();
        const ExportNode& folder = tree.at(next.position);
        if (!folder.hasChildren) continue;
        if (next.position != 0) {
            // A name that is not one plain folder name could reach outside the output folder.
            if (!IsPlainFolderName(folder.label) || !CreateDirectoryW(next.output.c_str(), nullptr)) {
                failed.push_back(next.output);
                continue;
            }
        }
        const WriteResult list = WriteWholeFile(fsys::Join(next.output, kListFile), ItemDatContent(tree, folder));
        if (list != WriteResult::Written) failed.push_back(next.output);
        if (list == WriteResult::NotCreated) continue;
        // Last child first onto the list, so that folders are written in tree order.
        for (auto child = folder.children.rbegin(); child != folder.children.rend(); ++child)
            if (tree.at(*child).kind == ExportNode::Kind::Folder)
                pending.push_back({*child, fsys::Join(next.output, tree.at(*child).label)});
    }
}

// The first few paths, one per line; a full disk would otherwise fill the box with all of them.
std::string Listing(const std::vector<std::wstring>& paths) {
    std::string lines;
    for (size_t i = 0; i < paths.size() && i < kMaxListed; ++i) lines += (i ? "\r\n" : "") + text::WideToAnsi(paths[i]);
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

    const std::wstring target = fsys::Join(text::AnsiToWide(path::WithoutTrailingSeparator(*chosen)), kOutputFolder);
    // An earlier export is never overwritten.
    if (fsys::Exists(target)) {
        ReportProblem(owner, text::Format(kAlreadyExists, text::WideToAnsi(target).c_str()));
        return 1;
    }
    const ExportTree tree = ReadTree(sink);
    std::vector<std::wstring> failed;
    if (!CreateDirectoryW(target.c_str(), nullptr))
        failed.push_back(target);
    else
        WriteFolders(tree, target, failed);
    if (failed.empty()) return 0;
    ReportProblem(owner, text::Format(kFoldersFailed, Listing(failed).c_str()));
    return 1;
}

}  // namespace exporter
