// The one way the programs open their help: "Tolvak.chm" beside the running program, shown by
// the system's HTML Help viewer. Without the viewer no help is shown and nothing is said. Tests
// replace the viewer with a handler that records the topic.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace help {

// Opens `topic` ("/ex_index.html"), or the file's default topic when it is empty.
void ShowTopic(HWND owner, const std::string& topic = {});

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
