// Resource ids of the favorites tree: every deliverable that carries the tree includes tree.rc.
#pragma once

#define IDB_TREE_IMAGES 134

// Dialog 102, the add-item dialog, and its controls.
#define IDD_ADD_ITEM 102
#define IDC_ADD_TITLE 1002
#define IDC_ADD_URL 1003
#define IDC_ADD_FOLDERS 1011
#define IDC_ADD_CAPTURE 1013
