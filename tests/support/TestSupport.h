// Helpers shared by the tests: temporary folders, recorded message boxes, a host window for trees.
#pragma once

#include <base/Handles.h>
#include <base/MessageBox.h>

#include <ole2.h>
#include <tree/CFavTreeView.h>

#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace testutil {

// A fresh folder under %TEMP%, removed with everything in it at the end of the test.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& relative) const { return path_ + "\\" + relative; }
    std::string MakeDir(const std::string& relative) const;
    std::string WriteFile(const std::string& relative, const std::string& content) const;
    // A shortcut file "<relative>.url" with the given URL.
    std::string WriteShortcut(const std::string& relative, const std::string& url) const;

private:
    std::string path_;
};

// A shortcut file as the system writes it for an address outside the code page, and that address.
inline constexpr char kAccentedShortcut[] =
    "[InternetShortcut]\r\nURL=http://example.com/caf?\r\n[InternetShortcut.A]\r\nURL=http://example.com/caf?\r\n"
    "[InternetShortcut.W]\r\nURL=http://example.com/caf+AOk-\r\n";
inline constexpr wchar_t kAccentedAddress[] = L"http://example.com/caf\u00e9";

bool WriteBytes(const std::string& file, const std::string& content);
std::string ReadBytes(const std::string& file);
// Opens `file` as another program would that shares it with nobody: every write to it fails.
win::UniqueFile HoldUnshared(const std::string& file);
void RemoveTree(const std::string& folder);
// The names of what `folder` holds, sorted: what a user listing it would find.
std::vector<std::string> FolderNames(const std::string& folder);

// The host's path of a Windows path, through Wine's own conversion ("" outside Wine).
std::string UnixPath(const std::string& path);
// Whether the file was sent to the recycle bin (Wine keeps it in the XDG trash, whose record
// names the file's former path); false without XDG_DATA_HOME.
bool InRecycleBin(const std::string& file);
// Starts a program of the host (`commandLine` begins with its path) through Wine's "start /unix",
// without waiting for it; false when it cannot be started.
bool StartOnHost(const std::string& commandLine);

// Dispatches every message waiting for this thread.
void PumpMessages();

// Moves the cursor and waits until it stays there: a pointer event from the display that is still
// on its way (the desktop centres the cursor when it starts) would move it back.
void PlaceCursor(POINT point);

// Runs `step` from the next message loop of this thread, whichever modal loop that is.
void Soon(std::function<void()> step);
// The visible top-level window of this thread of a class: "#32770" dialogs, "#32768" menus.
HWND ThreadWindow(const char* className);
// Calls `run` (which shows a modal dialog) and runs `script` once the dialog shows; a dialog the
// script leaves open is ended with `leftOpen`. Returns what `run` returned.
INT_PTR RunDialog(const std::function<INT_PTR()>& run, const std::function<void(HWND)>& script, INT_PTR leftOpen);

// Polls `done` (every 20 ms, on this thread) until it holds; false when it still does not after
// `timeoutMs`. The one wait of the tests: a condition with a deadline, never a fixed sleep.
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 10000);

// The visible dialog ("#32770") of this process, of any thread, that `owner` owns (any owner when
// null), or null.
HWND OwnDialog(HWND owner = nullptr);
// Waits up to ten seconds for OwnDialog(owner), or until `over` is set.
HWND WaitForOwnDialog(HWND owner, const std::atomic<bool>* over = nullptr);
// Waits up to ten seconds for `window` to be gone or hidden; false when it stays.
bool WaitUntilGone(HWND window);
// Runs `run`, which shows a modal dialog owned by `owner` (any when null), while a thread of its
// own plays the user: `user` gets the dialog once it shows and should close it. When `run` has
// not returned ten seconds after that, the test fails and every dialog of this process still
// open is closed, so no test hangs. Returns whether the dialog showed.
bool PlayUser(const std::function<void()>& run, HWND owner, const std::function<void(HWND)>& user);

// Answers message boxes instead of showing them, and keeps what they said.
class MessageRecorder {
public:
    MessageRecorder();
    // The next box gets this answer (later boxes get IDOK).
    void AnswerNext(int answer) { answers_.push_back(answer); }
    const std::vector<ui::MessageRequest>& messages() const { return messages_; }
    std::vector<std::string> texts() const;
    // Each box's caption, "(system)" for the caption the system gives a box that names none.
    std::vector<std::string> captions() const;

private:
    std::vector<ui::MessageRequest> messages_;
    std::deque<int> answers_;
    ui::ScopedMessageHandler handler_;
};

// A top-level window with a status bar (id 100) that forwards tree notifications, as the main
// window does; it owns the trees created on it.
class TreeHost {
public:
    TreeHost();
    ~TreeHost();
    TreeHost(const TreeHost&) = delete;
    TreeHost& operator=(const TreeHost&) = delete;

    HWND hwnd() const { return window_; }
    std::string StatusText() const;
    std::wstring WideStatusText() const;

    // A loaded tree for `section` of the settings file `iniPath`.
    CFavTreeView& AddTree(const std::string& iniPath, const std::string& section = "Tolvak#1", bool load = true);

private:
    HWND window_ = nullptr;
    HWND status_ = nullptr;
    std::vector<win::ComPtr<CFavTreeView>> trees_;
};

// Labels of the children of `node`, in tree order.
std::vector<std::string> ChildLabels(const CFavTreeView& tree, HTREEITEM node);
// The child of `node` labelled `label`, or null.
HTREEITEM Child(const CFavTreeView& tree, HTREEITEM node, const std::string& label);
// Follows labels from the root: Node(tree, {"a", "b"}).
HTREEITEM Node(const CFavTreeView& tree, const std::vector<std::string>& labels);

// Reads the source `file` of format `code` below `source` with the import plug-in as built
// (bin\tlImport.dll) through the tree's sink, as opening a source does; false when it failed.
bool ImportSource(CFavTreeView& tree, HTREEITEM source, const char* code, const std::string& file);

// Writes `content` as tolvak.ini into `dir` and returns its path.
std::string WriteSettings(const TempDir& dir, const std::string& content);

// A favorites folder "fav" in a temporary folder, and a host for trees loaded from it.
struct TreeFixture : testing::Test {
    TempDir dir;
    std::string root = dir.MakeDir("fav");
    TreeHost host;

    // A loaded tree of section "Tolvak#1" rooted at `root`; `extra` adds lines after FavRoot.
    CFavTreeView& Load(const std::string& extra = "") {
        return host.AddTree(WriteSettings(dir, "[Tolvak#1]\r\nFavRoot=" + root + "\r\n" + extra));
    }
};

}  // namespace testutil

namespace testutil {

// A copy of the stand-in program record_args.exe (built beside the tests) in a folder of its own,
// under the name `program`; when started it writes its command line to args.txt there.
class Recorder {
public:
    Recorder(const TempDir& dir, const std::string& folder, const std::string& program = "record_args.exe");
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    bool ok() const { return ok_; }
    std::string program() const { return folder_ + "\\" + name_; }
    // The command line the copy was started with; "" when it has not run within ten seconds.
    std::string WaitForCommandLine() const;
    // The same exactly, in UTF-16.
    std::wstring WaitForWideCommandLine() const;
    // True once the copy has run, without waiting.
    bool Started() const;

private:
    std::string folder_;
    std::string name_;
    bool ok_ = false;
};

// Waits up to ten seconds, or until `giveUp` holds, for another process running `program` to show
// a window, and ends that process; false when none showed.
bool EndProgramWhenShown(const std::string& program, const std::function<bool()>& giveUp);

// The process's current folder set to `folder` until the object goes.
class ScopedCurrentFolder {
public:
    explicit ScopedCurrentFolder(const std::string& folder);
    ~ScopedCurrentFolder();
    ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
    ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;

private:
    std::string previous_;
};

// A data object that offers fixed bytes per format as global memory, as a browser or the
// Explorer would; it lives on the test's stack.
class FakeData final : public IDataObject {
public:
    void Offer(UINT format, const std::string& bytes) { formats_[format] = bytes; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* wanted, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* wanted) override {
        return formats_.count(wanted->cfFormat) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    std::map<UINT, std::string> formats_;
};

// A CF_HDROP block (ANSI names) listing `files`.
std::string FileList(const std::vector<std::string>& files);
// The screen point in the middle of `node`'s label.
POINTL PointOn(const CFavTreeView& tree, HTREEITEM node);
// Enters, hovers and drops `data` over `node` through `target`, as OLE would; returns the effect
// offered while hovering. Posted follow-ups run.
DWORD DropOn(IDropTarget& target, const CFavTreeView& tree, IDataObject& data, HTREEITEM node,
             DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_LINK);

// Opens the label editor on `node`, types `text` and commits it; with no text the edit is
// cancelled. Returns false when the tree refused to open the editor. Posted follow-ups run.
bool EditLabel(CFavTreeView& tree, HTREEITEM node, const char* text);
// The open label editor of a tree, or null.
HWND OpenEditor(const CFavTreeView& tree);
// Types `text` into the open editor and presses Enter, or presses Escape when there is no text,
// as a user ends an edit; posted follow-ups run.
void FinishEdit(const CFavTreeView& tree, const char* text);

}  // namespace testutil

namespace testutil {

// Files and folders whose names need not fit the code page ("café", "한국"), made with the wide
// calls; `relative` is below `dir`.
std::wstring WidePath(const TempDir& dir, const std::wstring& relative);
void WriteWideShortcut(const TempDir& dir, const std::wstring& relative, const std::string& url);
// A junction (a mount point, as the system's "mklink /J" makes) at `link` leading to `target`;
// false when the file system refuses it.
bool MakeJunction(const std::string& link, const std::string& target);

}  // namespace testutil

namespace testutil {

// The Shift key as this thread's GetKeyState sees it, until the object goes.
class ShiftKey {
public:
    explicit ShiftKey(bool down);
    ~ShiftKey();
    ShiftKey(const ShiftKey&) = delete;
    ShiftKey& operator=(const ShiftKey&) = delete;

private:
    BYTE saved_[256]{};
};

// A text value of `key` below `root` (no name: the default value); nothing when it is not there.
std::optional<std::string> RegistryText(HKEY root, const std::string& key, const char* name = nullptr);

bool KeyExists(HKEY root, const std::string& key);
// A key's values (name, text) in the registry's order (as written on Windows, by name under
// Wine); nothing when there is no key.
using NamedTexts = std::vector<std::pair<std::string, std::string>>;
std::optional<NamedTexts> RegistryValues(HKEY root, const std::string& key);

// A registry key that is deleted, with everything below it, at the end of the test; created at
// the start, or removed there for a test that starts without it.
enum class KeyAtStart { kCreated, kAbsent };
class ScopedRegistryKey {
public:
    ScopedRegistryKey(HKEY root, std::string subKey, KeyAtStart start = KeyAtStart::kCreated);
    ~ScopedRegistryKey();
    ScopedRegistryKey(const ScopedRegistryKey&) = delete;
    ScopedRegistryKey& operator=(const ScopedRegistryKey&) = delete;
    bool ok() const { return ok_; }
    // Sets a text value of `relative` below the key ("" for the key itself; no name: the default).
    bool Set(const std::string& relative, const std::string& value, const char* name = nullptr) const;

private:
    HKEY root_;
    std::string subKey_;
    bool ok_ = false;
};

// Refuses everyone writing or deleting `key` while it lives, as the system refuses a user a key
// only administrators may change. The key is created when missing (removing it is left to the
// test); as its owner the test may still change its rights, and puts the old ones back at the end.
class LockedRegistryKey {
public:
    LockedRegistryKey(HKEY root, std::string subKey);
    ~LockedRegistryKey();
    LockedRegistryKey(const LockedRegistryKey&) = delete;
    LockedRegistryKey& operator=(const LockedRegistryKey&) = delete;
    bool ok() const { return ok_; }

private:
    bool SetRights(PSECURITY_DESCRIPTOR rights) const;
    HKEY root_;
    std::string subKey_;
    std::vector<BYTE> saved_;
    bool ok_ = false;
};

// The shell's cached lists of vertical bars, made up for the test (removed at its end): what
// registering or unregistering the bar must drop.
class CachedBarLists {
public:
    CachedBarLists();
    bool ok() const { return ok_; }
    static bool Gone();

private:
    ScopedRegistryKey list_, list64_;
    bool ok_;
};

// Undoes the bar's registration through the built TolvakBar.dll at the end of the test, on every
// path: a test that stops half-way must not leave the bar registered for the tests after it.
class BarUnregisteredAtEnd {
public:
    BarUnregisteredAtEnd() = default;
    ~BarUnregisteredAtEnd();
    BarUnregisteredAtEnd(const BarUnregisteredAtEnd&) = delete;
    BarUnregisteredAtEnd& operator=(const BarUnregisteredAtEnd&) = delete;
};

// CoCreateInstance on this thread finds `factory` for `clsid` while the object lives: Wine has
// none of the browser's own classes, so tests register fakes.
class ScopedClassObject {
public:
    ScopedClassObject(REFCLSID clsid, IUnknown* factory);
    ~ScopedClassObject();
    ScopedClassObject(const ScopedClassObject&) = delete;
    ScopedClassObject& operator=(const ScopedClassObject&) = delete;
    bool ok() const { return registered_; }

private:
    DWORD cookie_ = 0;
    bool registered_ = false;
};

// A class object for `clsid`, registered while it lives, that hands out `object`. Neither keeps a
// reference count: the test owns both.
class SingleObjectFactory final : public IClassFactory {
public:
    SingleObjectFactory(REFCLSID clsid, IUnknown* object) : object_(object), registration_(clsid, this) {}
    bool ok() const { return registration_.ok(); }
    bool failing = false;  // creation fails with E_OUTOFMEMORY

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    IUnknown* object_;
    ScopedClassObject registration_;
};

}  // namespace testutil
