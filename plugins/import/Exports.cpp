// The library's exports, under the plain names the hosts look up ("import", "enumerate"; see
// tlImport.def: "import" is a contextual keyword in C++20).
#include "ImportHandler.h"
#include "PlacesSnapshot.h"

extern "C" {

// The hosts load the library for one import and free it afterwards: SQLite's process-wide state
// (its locks) goes with it. Not at process exit (`reserved` set): threads ended anywhere may hold it.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_DETACH && !reserved) importer::ReleaseDatabaseEngine();
    return TRUE;
}

int WINAPI CreateImportHandler(const char* code, plugin::FormatHandler** handler) noexcept {
    return plugin::CreateHandler<importer::ImportHandler>(code, handler, &importer::FindFormat);
}

int WINAPI EnumerateFormats(int value) noexcept { return value == 0 ? 1 : 0; }

}  // extern "C"
