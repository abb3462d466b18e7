// "リンク出力": the links of the page in the hosting browser, each with a check box, written as a
// URL list or an Iria download list.
#pragma once

#include <windows.h>
#include <exdisp.h>

namespace linklist {

// Runs the link list dialog modal to `owner` for the page `browser` shows. Without a browser or
// an HTML page one message box says so and no dialog opens.
void ShowLinkList(HWND owner, IWebBrowser2* browser);

}  // namespace linklist
