// The one way the programs open their help: "Tolvak.chm" beside the running program, shown by
// the system's HTML Help viewer. Without the viewer no help is shown and nothing is said. Tests
// replace the viewer with a handler that records the topic.
#pragma once

#include "Handles.h"

#include <functional>
#include <string>

namespace help {

// Opens `topic` ("/ex_index.html"), or the file's default topic when it is empty.
void ShowTopic(HWND owner, const std::string& topic = {});

// The viewer library (hhctrl.ocx) while it is loaded. Its help windows run on its code, so they
// are all closed before the library goes: a window left open crashes the program at its exit.
class Viewer {
public:
    Viewer();
    ~Viewer();
    Viewer(const Viewer&) = delete;
    Viewer& operator=(const Viewer&) = delete;

    // The help window showing `topic` of `file`; null without the viewer or the file.
    HWND Show(HWND owner, const std::string& file, const std::string& topic) const;

private:
    using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
    win::UniqueModule library_;
    HtmlHelpFunction htmlHelp_ = nullptr;
};

using TopicHandler = std::function<void(const std::string& topic)>;

// Installs a handler for the lifetime of the object; the previous one comes back afterwards.
class ScopedTopicHandler {
public:
    explicit ScopedTopicHandler(TopicHandler handler);
    ~ScopedTopicHandler();
    ScopedTopicHandler(const ScopedTopicHandler&) = delete;
    ScopedTopicHandler& operator=(const ScopedTopicHandler&) = delete;

private:
    TopicHandler previous_;
};

}  // namespace help
