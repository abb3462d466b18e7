// A stand-in browser for the tests: writes its whole command line to "args.txt" beside itself,
// and before that exactly (UTF-16) to "argsw.txt". "args.txt" appears complete or not at all, so a
// test polling for it never reads half of it.
#include <base/Handles.h>
#include <base/Path.h>

#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string self = path::ModuleFile(nullptr);
    if (self.empty()) return 1;
    const std::string partial = path::ReplaceFileName(self, "args.tmp");
    const std::string done = path::ReplaceFileName(self, "args.txt");
    const std::string line = GetCommandLineA();
    const std::wstring wide = GetCommandLineW();
    {
        win::UniqueFile file(CreateFileA(path::ReplaceFileName(self, "argsw.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        const DWORD size = static_cast<DWORD>(wide.size() * sizeof(wchar_t));
        if (!file || !WriteFile(file.get(), wide.data(), size, &written, nullptr)) return 1;
    }
    {
        win::UniqueFile file(
            CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file || !WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr))
            return 1;
    }
    return MoveFileExA(partial.c_str(), done.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
