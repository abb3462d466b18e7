#include "HtmlHelp.h"

#include "Path.h"

#include <htmlhelp.h>

#include <utility>

namespace help {
namespace {

constexpr char kHelpFile[] = "Tolvak.chm";

TopicHandler& CurrentHandler() {
    static TopicHandler handler;
    return handler;
}

}  // namespace

Viewer::Viewer()
    : library_(LoadLibraryA("hhctrl.ocx")), htmlHelp_(win::ProcAddress<HtmlHelpFunction>(library_.get(), "HtmlHelpA")) {}

Viewer::~Viewer() {
    if (htmlHelp_) htmlHelp_(nullptr, nullptr, HH_CLOSE_ALL, 0);
}

HWND Viewer::Show(HWND owner, const std::string& file, const std::string& topic) const {
    if (!htmlHelp_) return nullptr;
    return htmlHelp_(owner, file.c_str(), HH_DISPLAY_TOPIC, topic.empty() ? 0 : reinterpret_cast<DWORD_PTR>(topic.c_str()));
}

void ShowTopic(HWND owner, const std::string& topic) {
    if (const TopicHandler& handler = CurrentHandler()) return handler(topic);
    // Help windows live in this process as long as they are open, so the viewer stays until exit.
    static const Viewer viewer;
    viewer.Show(owner, path::ReplaceFileName(path::ModuleFile(nullptr), kHelpFile), topic);
}

ScopedTopicHandler::ScopedTopicHandler(TopicHandler handler)
    : previous_(std::exchange(CurrentHandler(), std::move(handler))) {}

ScopedTopicHandler::~ScopedTopicHandler() { CurrentHandler() = std::move(previous_); }

}  // namespace help
