#include "ImportHandler.h"

#include "BookmarkHtml.h"
#include "ChromiumBookmarks.h"
#include "EventFeed.h"
#include "FirefoxPlaces.h"
#include "FolderWalk.h"
#include "SourceFile.h"

#include <base/Path.h>
#include <base/TextEncoding.h>

#include <new>

namespace importer {
namespace {

constexpr char kFileNotFound[] = "ファイルが見つかりません";
constexpr char kFileUnreadable[] = "ファイルを読み込めません";
constexpr char kOutOfMemory[] = "メモリを確保できません";
constexpr char kWwwcFolderNotFound[] = "WWWCのデータフォルダが見つかりません。";
constexpr char kFolderNotFound[] = "フォルダが見つかりません。";
constexpr char kWwwcNotAFolder[] = "WWWCのデータフォルダではありません。";
constexpr char kNotAFolder[] = "フォルダではありません。";
// A file that is no whole bookmark file (a browser may be writing it) gives what a failed
// import gives everywhere.
constexpr char kNotBookmarkFile[] = "インポートに失敗しました";

bool IsFolderFormat(ImportFormat format) { return format == ImportFormat::Wwwc || format == ImportFormat::Favorites; }

}  // namespace

int STDMETHODCALLTYPE ImportHandler::Release() {
    if (sink_) sink_->Release();
    delete this;
    return 0;
}

// Bit 1: the source is a folder; bit 0 (writing) is never set here.
int STDMETHODCALLTYPE ImportHandler::Kind(int) { return IsFolderFormat(format_) ? 2 : 0; }

int STDMETHODCALLTYPE ImportHandler::SetSink(plugin::ImportSink* sink) {
    sink_ = sink;
    return 0;
}

int STDMETHODCALLTYPE ImportHandler::Run(char* path, plugin::ItemHandle parent) {
    if (!sink_) return 1;
    // Nothing may leave through the host's call. What was added before a failure stays.
    try {
        if (IsFolderFormat(format_)) return RunFolder(path, parent);
        return format_ == ImportFormat::Firefox ? RunPlaces(path, parent) : RunFile(path, parent);
    } catch (const std::bad_alloc&) {
        AddMessage(parent, kOutOfMemory);
        return 1;
    } catch (...) {
        return 1;
    }
}

int ImportHandler::RunFile(const char* path, plugin::ItemHandle parent) {
    ReadFailure failure = ReadFailure::kNotFound;
    const auto failedToRead = [&] {
        AddMessage(parent, failure == ReadFailure::kNotFound ? kFileNotFound : kFileUnreadable);
        return 1;
    };
    std::optional<BookmarkEvents> events;
    if (format_ == ImportFormat::Chromium) {
        // The largest of the sources, read where it lies and let go before the host is fed.
        std::optional<SourceText> source = path ? SourceText::Open(text::AnsiToWide(path), failure) : std::nullopt;
        if (!source) return failedToRead();
        events = ParseChromium(source->text());
    } else {
        const std::optional<std::string> file = path ? ReadWholeFile(path, failure) : std::nullopt;
        if (!file) return failedToRead();
        events = format_ == ImportFormat::Netscape ? ParseNetscape(*file) : ParseDona(*file);
    }
    if (!events) {
        AddMessage(parent, kNotBookmarkFile);
        return 1;
    }
    FeedEvents(plugin::HostSink(*sink_), parent, *events);
    return 0;
}

int ImportHandler::RunFolder(char* path, plugin::ItemHandle parent) {
    const bool wwwc = format_ == ImportFormat::Wwwc;
    const DWORD attributes = path ? GetFileAttributesA(path) : INVALID_FILE_ATTRIBUTES;
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        AddMessage(parent, wwwc ? kWwwcFolderNotFound : kFolderNotFound);
        return 1;
    }
    // A file given as the source would otherwise show an empty, unexplained source.
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        AddMessage(parent, wwwc ? kWwwcNotAFolder : kNotAFolder);
        return 1;
    }
    // One trailing backslash goes, in the host's copy too, as the interface has it. A trail byte
    // 0x5C of a double-byte name is no backslash.
    const std::string folder = path::WithoutTrailingSeparator(path);
    path[folder.size()] = '\0';
    const plugin::HostSink host(*sink_);
    if (wwwc)
        WalkWwwcFolder(host, folder, parent);
    else
        WalkFavoritesFolder(host, folder, parent);
    return 0;
}

int ImportHandler::RunPlaces(const char* path, plugin::ItemHandle parent) {
    BookmarkEvents events;
    const DatabaseRead read = path ? ReadFirefoxPlaces(text::AnsiToWide(path), events) : DatabaseRead::kNotFound;
    switch (read) {
        case DatabaseRead::kRead: FeedEvents(plugin::HostSink(*sink_), parent, events); return 0;
        case DatabaseRead::kNotFound: AddMessage(parent, kFileNotFound); return 1;
        case DatabaseRead::kUnreadable: AddMessage(parent, kFileUnreadable); return 1;
        default: AddMessage(parent, kNotBookmarkFile); return 1;
    }
}

void ImportHandler::AddMessage(plugin::ItemHandle parent, const char* text) {
    sink_->AddNode(parent, text, plugin::NoURL, plugin::kAddItem);
}

}  // namespace importer
