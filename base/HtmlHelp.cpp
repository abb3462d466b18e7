#include "HtmlHelp.h"

#include "Handles.h"
#include "Path.h"

#include <utility>

namespace help {
namespace {

constexpr char kHelpFile[] = "Tolvak.chm";
constexpr UINT kDisplayTopic = 0;
using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

TopicHandler& CurrentHandler() {
    static TopicHandler handler;
    return handler;
}

}  // namespace

void ShowTopic(HWND owner, const std::string& topic) {
    if (const TopicHandler& handler = CurrentHandler()) return handler(topic);
    // The viewer's window lives in this process as long as it is open, so its library stays.
    static win::UniqueModule viewer(LoadLibraryA("hhctrl.ocx"));
    const auto htmlHelp = win::ProcAddress<HtmlHelpFunction>(viewer.get(), "HtmlHelpA");
    if (!htmlHelp) return;
    const std::string file = path::ReplaceFileName(path::ModuleFile(nullptr), kHelpFile);
    htmlHelp(owner, file.c_str(), kDisplayTopic, topic.empty() ? 0 : reinterpret_cast<DWORD_PTR>(topic.c_str()));
}

ScopedTopicHandler::ScopedTopicHandler(TopicHandler handler)
    : previous_(std::exchange(CurrentHandler(), std::move(handler))) {}

ScopedTopicHandler::~ScopedTopicHandler() { CurrentHandler() = std::move(previous_); }

}  // namespace help
