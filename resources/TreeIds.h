// Resource ids of the favorites tree: every deliverable that carries the tree includes tree.rc.
#pragma once

#define IDB_TREE_IMAGES 134

// Dialog 102, the add-item dialog, and its controls.
#define IDD_ADD_ITEM 102
#define IDC_ADD_TITLE 1002
#define IDC_ADD_URL 1003
#define IDC_ADD_FOLDERS 1011
#define IDC_ADD_CAPTURE 1013

// The properties sheet: page 116 "直接編集" and page 117 "URL情報" with their controls.
#define IDD_PROP_EDIT 116
#define IDD_PROP_URL_INFO 117
#define IDC_PROP_DETAILS 1001
#define IDC_PROP_URL 1007
#define IDC_PROP_TEXT 1014
#define IDC_PROP_LOCAL 1016
