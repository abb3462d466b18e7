// Resource and command ids of Tolvak.exe.
#pragma once

#define IDI_APP 1
#define IDM_MAIN 108
#define IDA_MAIN 114
#define IDB_TREE_IMAGES 134

#define ID_ITEM_SELECT_ALL 40004
#define ID_TREE_EXPAND_ALL 40005
#define ID_TREE_COLLAPSE_ALL 40006
#define ID_TREE_RELOAD 40007
#define ID_ITEM_DELETE 40012
#define ID_HELP_CONTENTS 40013
#define ID_ITEM_RENAME 40032
#define ID_FIND_IN_TAB 40037
#define ID_FIND_NEXT 40038
