// Resource ids of the search dialogs and the cache cleaner (search.rc).
#pragma once

// Dialog 118, finding entries (small form: one tab; large form: all tabs).
#define IDD_FIND 118
#define IDC_FIND_RESULTS 1001
#define IDC_FIND_TEXT 1008
#define IDC_FIND_TABS 1024

// Dialog 119, the web search.
#define IDD_WEB_SEARCH 119
#define IDC_WEB_SITE 1018
#define IDC_WEB_WORD 1021
