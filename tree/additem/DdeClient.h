// The program's DDE client instance and text requests through it. Start-up owns the instance
// (DdeInitializeA, client only); the tree library only borrows it, so that it never depends on
// the start-up code of the deliverable it is built into.
#pragma once

#include <windows.h>

#include <string>

namespace fav {

// The calling thread's instance id from DdeInitializeA; 0 while there is none.
void SetDdeInstance(DWORD instance);
DWORD DdeInstance();

struct DdeReply {
    enum class Outcome { kNoConversation, kNoData, kText };
    Outcome outcome = Outcome::kNoConversation;
    std::string text;  // the reply up to its first NUL
};

// Opens a conversation with `service` on `topic`, requests `item` as CF_TEXT, waiting at most
// `timeoutMs`, and closes the conversation again.
DdeReply RequestText(const std::string& service, const std::string& topic, const std::string& item, DWORD timeoutMs);

}  // namespace fav
