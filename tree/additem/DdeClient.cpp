#include "DdeClient.h"

#include <base/Handles.h>

#include <ddeml.h>

#include <cstring>
#include <utility>

namespace fav {
namespace {

thread_local DWORD g_instance = 0;  // DDEML instances serve the thread that made them

// DDE string handles belong to an instance, so their owner keeps the instance too.
class StringHandle {
public:
    StringHandle(DWORD instance, const std::string& text)
        : instance_(instance), handle_(DdeCreateStringHandleA(instance, text.c_str(), CP_WINANSI)) {}
    ~StringHandle() {
        if (handle_) DdeFreeStringHandle(instance_, handle_);
    }
    StringHandle(const StringHandle&) = delete;
    StringHandle& operator=(const StringHandle&) = delete;
    HSZ get() const { return handle_; }

private:
    DWORD instance_;
    HSZ handle_;
};

struct ConversationTraits {
    using Type = HCONV;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { DdeDisconnect(h); }
};
struct DataTraits {
    using Type = HDDEDATA;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { DdeFreeDataHandle(h); }
};
using Conversation = win::Unique<ConversationTraits>;
using DataHandle = win::Unique<DataTraits>;

}  // namespace

void SetDdeInstance(DWORD instance) { g_instance = instance; }

DWORD DdeInstance() { return g_instance; }

DdeReply RequestText(const std::string& service, const std::string& topic, const std::string& item, DWORD timeoutMs) {
    DdeReply reply;
    const DWORD instance = g_instance;
    if (!instance) return reply;
    const StringHandle serviceName(instance, service), topicName(instance, topic), itemName(instance, item);
    if (!serviceName.get() || !topicName.get() || !itemName.get()) return reply;
    const Conversation conversation(DdeConnect(instance, serviceName.get(), topicName.get(), nullptr));
    if (!conversation) return reply;

    reply.outcome = DdeReply::Outcome::kNoData;
    const DataHandle data(DdeClientTransaction(nullptr, 0, conversation.get(), itemName.get(), CF_TEXT, XTYP_REQUEST,
                                               timeoutMs, nullptr));
    if (!data) return reply;
    const DWORD size = DdeGetData(data.get(), nullptr, 0, 0);
    std::string text(size, '\0');
    if (size == 0 || DdeGetData(data.get(), reinterpret_cast<LPBYTE>(text.data()), size, 0) != size) return reply;
    text.resize(std::strlen(text.c_str()));
    if (text.empty()) return reply;
    reply.outcome = DdeReply::Outcome::kText;
    reply.text = std::move(text);
    return reply;
}

}  // namespace fav
