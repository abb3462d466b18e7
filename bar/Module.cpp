#include "Module.h"

#include <base/Path.h>
#include <settings/Settings.h>
#include <tree/TreeModule.h>

namespace bar {
namespace {

LONG g_locks = 0;

}  // namespace

void LockModule() { InterlockedIncrement(&g_locks); }

void UnlockModule() { InterlockedDecrement(&g_locks); }

LONG ModuleLocks() { return InterlockedCompareExchange(&g_locks, 0, 0); }

// The library carries the tree code, so the tree's module is the library.
HINSTANCE Module() { return fav::TreeModule(); }

std::string ModulePath() { return path::ModuleFile(Module()); }

std::string SettingsPath() { return settings::LocateFor(Module()); }

}  // namespace bar
