#include "ResultStore.h"

#include <base/FileSystem.h>
#include <base/TextEncoding.h>
#include <settings/Location.h>

#include <nlohmann/json.hpp>

namespace linkcheck {
namespace {

constexpr wchar_t kFileName[] = L"linkcheck.json";
constexpr int kFormatVersion = 1;

std::wstring g_overridePath;

// Paths compare without regard to case, as the file system does.
std::wstring KeyOf(std::wstring path) {
    CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
    return path;
}

uint64_t Combine(DWORD high, DWORD low) { return static_cast<uint64_t>(high) << 32 | low; }

nlohmann::json ToJson(const std::wstring& file, const CheckRecord& record) {
    return {{"file", text::WideToUtf8(file)}, {"url", record.url},
            {"image", record.image},          {"status", record.status},
            {"outcome", record.outcome}, {"movedTo", record.movedTo},
            {"checkedAt", record.checkedAt},  {"written", record.stamp.written},
            {"size", record.stamp.size}};
}

CheckRecord FromJson(const nlohmann::json& entry) {
    CheckRecord record;
    record.url = entry.at("url").get<std::string>();
    record.image = entry.at("image").get<int>();
    record.status = entry.at("status").get<int>();
    record.outcome = entry.at("outcome").get<std::string>();
    record.movedTo = entry.at("movedTo").get<std::string>();
    record.checkedAt = entry.at("checkedAt").get<uint64_t>();
    record.stamp.written = entry.at("written").get<uint64_t>();
    record.stamp.size = entry.at("size").get<uint64_t>();
    return record;
}

}  // namespace

std::optional<FileStamp> StampOf(const std::wstring& file) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return FileStamp{Combine(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime),
                     Combine(data.nFileSizeHigh, data.nFileSizeLow)};
}

std::wstring ResultsFile() {
    if (!g_overridePath.empty()) return g_overridePath;
    const std::wstring appData = settings::RealLocationSystem().userDataFolder();
    if (appData.empty()) return {};
    return fsys::Join(fsys::Join(appData, text::AnsiToWide(settings::kUserFolderName)), kFileName);
}

ScopedResultsFile::ScopedResultsFile(std::wstring path) : previous_(std::exchange(g_overridePath, std::move(path))) {
    ResultStore::Instance().Reload();
}

ScopedResultsFile::~ScopedResultsFile() {
    g_overridePath = previous_;
    ResultStore::Instance().Reload();
}

ResultStore& ResultStore::Instance() {
    static ResultStore store;
    if (!store.loaded_) store.Reload();
    return store;
}

void ResultStore::Changed() {
    dirty_ = true;
    ++generation_;
}

void ResultStore::Reload() {
    records_.clear();
    loaded_ = true;
    dirty_ = false;
    ++generation_;
    const std::wstring path = ResultsFile();
    const std::optional<std::string> bytes = path.empty() ? std::nullopt : fsys::ReadAll(path);
    if (!bytes) return;
    const nlohmann::json document = nlohmann::json::parse(*bytes, nullptr, false);
    if (document.is_discarded() || !document.is_object() || document.value("version", 0) != kFormatVersion) return;
    // A damaged file loses what it holds, never the session: results are only a convenience.
    try {
        for (const nlohmann::json& entry : document.at("results"))
            records_[KeyOf(text::Utf8ToWide(entry.at("file").get<std::string>()))] = FromJson(entry);
    } catch (const nlohmann::json::exception&) {
        records_.clear();
    }
    // Shortcuts changed or removed while no tree looked at them (another program, another
    // session) leave now, not never.
    const size_t dropped = std::erase_if(records_, [](const auto& entry) { return StampOf(entry.first) != entry.second.stamp; });
    if (dropped > 0) dirty_ = true;
}

void ResultStore::Record(const std::wstring& file, CheckRecord record) {
    const std::optional<FileStamp> stamp = StampOf(file);
    if (!stamp) return;
    record.stamp = *stamp;
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    record.checkedAt = Combine(now.dwHighDateTime, now.dwLowDateTime);
    records_[KeyOf(file)] = std::move(record);
    Changed();
}

std::optional<CheckRecord> ResultStore::Find(const std::wstring& file) {
    const auto it = records_.find(KeyOf(file));
    if (it == records_.end()) return std::nullopt;
    if (StampOf(file) != it->second.stamp) {
        records_.erase(it);
        Changed();
        return std::nullopt;
    }
    return it->second;
}

void ResultStore::Forget(const std::wstring& file) {
    if (records_.erase(KeyOf(file))) Changed();
}

bool ResultStore::Save() {
    if (!dirty_) return true;
    const std::wstring path = ResultsFile();
    std::wstring folder, name;
    if (path.empty() || !fsys::SplitLast(path, &folder, &name)) return false;
    CreateDirectoryW(folder.c_str(), nullptr);  // may exist already
    nlohmann::json results = nlohmann::json::array();
    for (const auto& [key, record] : records_) results.push_back(ToJson(key, record));
    const nlohmann::json document = {{"version", kFormatVersion}, {"results", std::move(results)}};
    const std::string bytes = document.dump(1, '\t', false, nlohmann::json::error_handler_t::replace);
    if (!fsys::ReplaceContent(path, bytes)) return false;
    dirty_ = false;
    return true;
}

}  // namespace linkcheck
