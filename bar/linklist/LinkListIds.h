// Resource ids of the link list dialog of TolvakBar.dll.
#pragma once

#define IDD_LINK_LIST 103
#define IDC_LINK_LINKS 1001
#define IDC_LINK_REFERER 1015
#define IDC_LINK_FOLDER 1016
#define IDC_LINK_BROWSE 1017
#define IDC_LINK_SAVE_URLS 1018
#define IDC_LINK_SAVE_IRIA 1019
#define IDC_LINK_FRAMES 1020
#define IDC_LINK_DEFAULTS 1021
