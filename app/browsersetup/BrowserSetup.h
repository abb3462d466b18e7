// The main menu's commands that connect the program with the browser: the browser's own favorites
// import and export wizard, a toolbar button that starts the program, and installing the
// Explorer bar library. Each shows its own boxes, without an owner window.
#pragma once

namespace browsersetup {

void ImportFavorites();
void ExportFavorites();
void AddToolbarButton();
void RemoveToolbarButton();
void InstallBar();
void UninstallBar();

}  // namespace browsersetup
