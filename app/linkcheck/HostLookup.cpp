#include "HostLookup.h"

#include <base/TextEncoding.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

namespace linkcheck {

std::optional<std::string> AsciiHostName(std::string_view host) {
    if (std::all_of(host.begin(), host.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(host);
    const std::wstring wide = text::Utf8ToWide(host);
    const int size = IdnToAscii(0, wide.data(), static_cast<int>(wide.size()), nullptr, 0);
    if (size <= 0) return std::nullopt;
    std::wstring ascii(static_cast<size_t>(size), L'\0');
    if (IdnToAscii(0, wide.data(), static_cast<int>(wide.size()), ascii.data(), size) != size) return std::nullopt;
    // (The answer is ASCII by definition; anything else would be garbage on the wire.)
    std::string name;
    for (const wchar_t c : ascii) {
        if (c == 0 || c >= 0x80) return std::nullopt;
        name += static_cast<char>(c);
    }
    return name;
}

SplitResult SplitForCheck(std::string_view address, LinkTarget* target) {
    const SplitResult split = SplitUrl(address, target);
    if (split != SplitResult::kValid) return split;
    std::optional<std::string> host = AsciiHostName(target->host);
    if (!host) return SplitResult::kInvalid;
    target->host = std::move(*host);
    return SplitResult::kValid;
}

namespace {

struct Lookup {
    HWND window;
    HANDLE handle;
    std::unique_ptr<char[]> buffer;  // MAXGETHOSTSTRUCT bytes, written by WinSock's thread
    bool givenUp = false;
};

struct Registry {
    std::mutex mutex;
    LookupCalls calls = WinSockLookupCalls();
    std::vector<Lookup> lookups;  // in start order: an answer goes to the oldest of its handle
};

// Never destroyed: a look-up still running when the program ends writes into its buffer while
// static objects are being destroyed.
Registry& TheRegistry() {
    static Registry* registry = new Registry;
    return *registry;
}

}  // namespace

LookupCalls WinSockLookupCalls() { return {WSAAsyncGetHostByName, WSACancelAsyncRequest}; }

void SetLookupCalls(const LookupCalls& calls) {
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    registry.calls = calls;
}

HANDLE StartLookup(HWND window, UINT message, const std::string& host) {
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    auto buffer = std::make_unique<char[]>(MAXGETHOSTSTRUCT);
    HANDLE handle = registry.calls.start(window, message, host.c_str(), buffer.get(), MAXGETHOSTSTRUCT);
    if (handle) registry.lookups.push_back({window, handle, std::move(buffer)});
    return handle;
}

void GiveUpLookup(HWND window, HANDLE lookup) {
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    const auto it = std::find_if(registry.lookups.begin(), registry.lookups.end(), [&](const Lookup& entry) {
        return entry.window == window && entry.handle == lookup && !entry.givenUp;
    });
    if (it == registry.lookups.end()) return;
    it->givenUp = true;
    // Its answer may come all the same: the buffer stays until then.
    registry.calls.cancel(lookup);
}

std::optional<LookupAnswer> TakeLookupAnswer(HWND window, WPARAM wParam, LPARAM lParam) {
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    HANDLE handle = reinterpret_cast<HANDLE>(wParam);
    // Handle values come round again; answers come in the order the look-ups ended, so the oldest
    // look-up of the value is the one answered.
    const auto it = std::find_if(registry.lookups.begin(), registry.lookups.end(),
                                 [&](const Lookup& entry) { return entry.window == window && entry.handle == handle; });
    if (it == registry.lookups.end()) return std::nullopt;
    const Lookup done = std::move(*it);
    registry.lookups.erase(it);
    if (done.givenUp) return std::nullopt;

    LookupAnswer answer{WSAGETASYNCERROR(lParam), std::nullopt};
    if (answer.error == 0) {
        const auto* host = reinterpret_cast<const hostent*>(done.buffer.get());
        if (host->h_addr_list && host->h_addr_list[0])
            answer.address = *reinterpret_cast<const u_long*>(host->h_addr_list[0]);
    }
    return answer;
}

}  // namespace linkcheck
