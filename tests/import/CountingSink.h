// The benchmarks' host sink: it keeps nothing but counts, and gives every folder a handle of its
// own, so what is timed is the plug-in's reading and parsing and one sink call per entry. It has
// the wide calls, as the program's tree does, so the plug-in takes the path it takes there. Asked
// to, it also lists the entries, so the same ones can be added to another tree.
#pragma once

#include <base/TextEncoding.h>
#include <pluginapi/PluginInterface.h>

#include <string>
#include <vector>

namespace importbench {

class CountingSink final : public plugin::WideImportSink {
public:
    long folders = 0;
    long items = 0;
    long messages = 0;

    // One added entry: `parent` is 0 for the source, otherwise the folder's number (counted from 1).
    struct Entry {
        long parent;
        bool folder;
        std::wstring name;
    };
    std::vector<Entry>* entries = nullptr;  // when set, every entry is added to it

    plugin::ItemHandle root() { return Handle(0); }
    void Reset() { folders = items = messages = 0; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object = IsEqualGUID(iid, plugin::IID_WideImportSink) ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return E_NOTIMPL; }
    ULONG STDMETHODCALLTYPE Release() override { return E_NOTIMPL; }
    HWND STDMETHODCALLTYPE GetOwnerWindow() override { return nullptr; }
    plugin::ItemHandle STDMETHODCALLTYPE GetRoot() override { return root(); }
    plugin::ItemHandle STDMETHODCALLTYPE GetChild(plugin::ItemHandle) override { return nullptr; }
    plugin::ItemHandle STDMETHODCALLTYPE GetNextSibling(plugin::ItemHandle) override { return nullptr; }
    BOOL STDMETHODCALLTYPE GetText(plugin::ItemHandle, char*, int) override { return FALSE; }
    BOOL STDMETHODCALLTYPE GetURL(plugin::ItemHandle, char*, int) override { return FALSE; }
    BOOL STDMETHODCALLTYPE IsFolder(plugin::ItemHandle) override { return FALSE; }
    plugin::ItemHandle STDMETHODCALLTYPE AddNode(plugin::ItemHandle parent, const char* name, const char* url,
                                                 int kind) override {
        return Add(parent, kind, [&] { return text::AnsiToWide(name); }, url == plugin::NoURL);
    }
    BOOL STDMETHODCALLTYPE GetTextW(plugin::ItemHandle, wchar_t*, int) override { return FALSE; }
    BOOL STDMETHODCALLTYPE GetURLW(plugin::ItemHandle, wchar_t*, int) override { return FALSE; }
    plugin::ItemHandle STDMETHODCALLTYPE AddNodeW(plugin::ItemHandle parent, const wchar_t* name, const wchar_t* url,
                                                  int kind) override {
        return Add(parent, kind, [&] { return std::wstring(name); }, url == plugin::NoURLW);
    }

private:
    template <typename Name>
    plugin::ItemHandle Add(plugin::ItemHandle parent, int kind, Name name, bool message) {
        if (entries && (kind == plugin::kAddFolder || kind == plugin::kAddItem))
            entries->push_back({Number(parent), kind == plugin::kAddFolder, name()});
        if (kind == plugin::kAddFolder) return Handle(++folders);
        if (kind != plugin::kAddItem) return nullptr;
        ++(message ? messages : items);
        return Handle(1);
    }
    static plugin::ItemHandle Handle(long number) {
        return reinterpret_cast<plugin::ItemHandle>(static_cast<INT_PTR>(0x10000 + number * 16));
    }
    static long Number(plugin::ItemHandle handle) {
        return static_cast<long>((reinterpret_cast<INT_PTR>(handle) - 0x10000) / 16);
    }
};

// One import as the host runs it: create, SetSink, Run, Release. -1 when no handler was made.
inline int RunImport(plugin::CreateHandlerFunction create, const char* code, const std::string& file,
                     CountingSink& sink) {
    sink.Reset();
    plugin::FormatHandler* handler = nullptr;
    if (create(code, &handler) != 0) return -1;
    handler->SetSink(&sink);
    std::string location = file;  // the host's writable copy
    const int result = handler->Run(location.data(), sink.root());
    handler->Release();
    return result;
}

}  // namespace importbench
