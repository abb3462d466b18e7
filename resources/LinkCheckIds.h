// Resource ids of the check report and the duplicates list (linkcheck.rc).
#pragma once

// Dialog 140, the check report.
#define IDD_LINK_REPORT 140
#define IDC_REPORT_LIST 1101
#define IDC_REPORT_FILTER 1102
#define IDC_REPORT_RECHECK 1103
#define IDC_REPORT_DELETE 1104
#define IDC_REPORT_UPDATE 1105
#define IDC_REPORT_SHOW 1106
#define IDC_REPORT_SAVE 1107

// Dialog 141, the addresses bookmarked more than once; its list and its delete and show buttons
// have the report's ids.
#define IDD_DUPLICATES 141
