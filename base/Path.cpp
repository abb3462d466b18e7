#include "Path.h"

#include "Handles.h"
#include "Mbcs.h"

namespace path {

std::string ModuleFile(HMODULE module) {
    std::string buffer(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string SystemFile(std::string_view name) {
    std::string folder(MAX_PATH, '\0');
    UINT length = GetSystemDirectoryA(folder.data(), static_cast<UINT>(folder.size()));
    if (length >= folder.size()) {  // too small: the size needed, terminator included
        folder.resize(length);
        length = GetSystemDirectoryA(folder.data(), length);
    }
    folder.resize(length < folder.size() ? length : 0);
    return Join(folder, name);
}

std::string ReplaceFileName(std::string_view path, std::string_view name) {
    size_t start = 0;
    for (size_t i = 0; i < path.size(); i = mbcs::NextCharOffset(path, i)) {
        const char c = path[i];
        if (mbcs::IsLeadByte(static_cast<unsigned char>(c)) || (c != '\\' && c != ':')) continue;
        const size_t next = i + 1;
        if (next < path.size() && path[next] != '\\') start = next;
    }
    std::string result(path.substr(0, start));
    result.append(name);
    return result;
}

std::string Join(std::string_view folder, std::string_view name) {
    std::string result(folder);
    result += '\\';
    result.append(name);
    return result;
}

bool SplitLast(std::string_view path, std::string* folder, std::string* name) {
    const size_t cut = mbcs::FindLastOf(path, "\\");
    if (cut == mbcs::npos) return false;
    if (folder) folder->assign(path.substr(0, cut));
    if (name) name->assign(path.substr(cut + 1));
    return true;
}

std::string WithoutTrailingSeparator(std::string path) {
    const size_t last = mbcs::FindLastOf(path, "\\");
    if (last != mbcs::npos && last + 1 == path.size()) path.pop_back();
    return path;
}

bool Exists(const std::string& path) {
    WIN32_FIND_DATAA data;
    win::UniqueFind find(FindFirstFileA(path.c_str(), &data));
    return static_cast<bool>(find);
}

bool IsDirectory(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace path
