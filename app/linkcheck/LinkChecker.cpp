#include "FailureTexts.h"
#include "HostLookup.h"
#include "Job.h"
#include "ResultStore.h"
#include "ShortcutActions.h"

#include <tree/CFavTreeView.h>

#include <base/Format.h>
#include <base/Mbcs.h>
#include <base/TextEncoding.h>

#include <algorithm>

namespace linkcheck {

using namespace texts;

namespace {

constexpr char kMoreFailed[] = "ほかに %d 件のチェックに失敗しました。";
constexpr char kStopQuestion[] = "処理中の非同期httpアイテムが有ります。強制中断しますか？";
constexpr char kStopCaption[] = "リンクチェック";
constexpr char kErrorCaption[] = "Error";
constexpr UINT kTimerPeriod = 250;

DWORD g_timeout = kDefaultResponseTimeout;

std::unique_ptr<fav::TreeLinkChecks> MakeChecker(CFavTreeView& tree) { return std::make_unique<LinkChecker>(tree); }

int ImageFor(Verdict verdict) {
    switch (verdict) {
    case Verdict::kAlive: return fav::kImageLinkAlive;
    case Verdict::kDead: return fav::kImageLinkDead;
    default: return fav::kImageLinkUnsure;
    }
}

// The host a check connects to, for the limit per host; "" when the address cannot be checked.
std::string HostOf(const std::string& address) {
    LinkTarget target;
    return SplitForCheck(address, &target) == SplitResult::kValid ? target.host : std::string();
}

size_t ReadChecksAtOnce(const CFavTreeView& tree) {
    const int wanted = tree.config().ini.ReadInt("LinkCheck", "ChecksAtOnce", LinkChecker::kDefaultChecksAtOnce);
    return static_cast<size_t>(std::clamp<int>(wanted, 1, LinkChecker::kMostChecksAtOnce));
}

}  // namespace

void Install() { fav::InstallLinkChecker(MakeChecker); }

DWORD ResponseTimeout() { return g_timeout; }

void SetResponseTimeout(DWORD milliseconds) { g_timeout = milliseconds; }

LinkChecker::LinkChecker(CFavTreeView& tree) : tree_(tree), checksAtOnce_(ReadChecksAtOnce(tree)) {}

LinkChecker::~LinkChecker() {
    ResultStore::Instance().Save();
    Abandon();
    CloseHttpsSession(httpsSession_);
}

void LinkChecker::Check(HTREEITEM node) {
    if (tree_.IsShortcut(node)) {
        pending_.push_back({node, std::nullopt, {}});
    } else if (tree_.IsFolder(node)) {
        HWND window = tree_.hwnd();
        for (HTREEITEM child = TreeView_GetChild(window, node); child; child = TreeView_GetNextSibling(window, child))
            if (tree_.IsShortcut(child)) pending_.push_back({child, std::nullopt, {}});
    }
    Pump();
}

bool LinkChecker::HostBusy(const std::string& host) const {
    if (host.empty()) return false;
    size_t count = 0;
    for (const auto& job : running_)
        if (mbcs::EqualsNoCase(job->target.host, host)) ++count;
    return count >= kChecksPerHost;
}

void LinkChecker::Pump() {
    // In queue order, passing over items whose host has its share of checks running. An item
    // leaves the queue before its check starts: a check that fails at once pumps again and must
    // not take the same item a second time.
    for (size_t at = 0; running_.size() < checksAtOnce_ && at < pending_.size();) {
        if (!pending_[at].address) {
            const HTREEITEM node = pending_[at].node;
            const std::optional<std::wstring> address = tree_.NodeAddress(node);
            if (!address) {
                // The tree said why (a vanished file's node is gone too); the item leaves the
                // queue, and the entries before it are looked at again.
                std::erase_if(pending_, [node](const Pending& entry) { return entry.node == node; });
                at = 0;
                continue;
            }
            pending_[at].address = text::WideToUtf8(*address);
            pending_[at].host = HostOf(*pending_[at].address);
        }
        if (HostBusy(pending_[at].host)) {
            ++at;
            continue;
        }
        const Pending next = pending_[at];
        pending_.erase(pending_.begin() + static_cast<ptrdiff_t>(at));
        ++startedSinceIdle_;
        Start(next.node, *next.address);
    }
    if (running_.empty() && pending_.empty() && startedSinceIdle_ > 0) OnIdle();
}

void LinkChecker::OnIdle() {
    ResultStore::Instance().Save();
    // One shortcut's verdict shows in its picture; a report is for checks of many.
    if (std::exchange(startedSinceIdle_, 0) > 1) PostMessageA(tree_.parentWindow(), kChecksEnded, reinterpret_cast<WPARAM>(tree_.hwnd()), 0);
}

void LinkChecker::Start(HTREEITEM node, const std::string& address) {
    auto job = std::make_unique<Job>();
    switch (SplitForCheck(address, &job->target)) {
    case SplitResult::kSkipped: return;
    case SplitResult::kInvalid:
        outcomes_[node] = text::AnsiToUtf8(kInvalidUrl);
        Report(kInvalidUrl, std::nullopt);
        return;
    case SplitResult::kValid: break;
    }
    job->id = nextId_++;
    job->node = node;
    job->url = address;
    job->deadline = GetTickCount64() + g_timeout;
    outcomes_.erase(node);

    const char* failure = nullptr;
    Job& started = *job;
    running_.push_back(std::move(job));
    const bool ok = started.target.scheme == Scheme::kHttps ? StartHttps(started, &failure) : StartHttp(started, &failure);
    if (!ok) {
        if (started.target.scheme == Scheme::kHttp && started.socket == INVALID_SOCKET) {
            // No socket, no check: the item keeps its picture.
            Finish(started);
            Report(failure, std::nullopt);
            return;
        }
        Fail(started, failure);
        return;
    }
    if (!timerSet_ && SetTimer(tree_.hwnd(), kTimeoutTimer, kTimerPeriod, nullptr)) timerSet_ = true;
}

LinkChecker::Job* LinkChecker::Find(bool (*match)(const Job&, UINT_PTR), UINT_PTR key) {
    for (auto& job : running_)
        if (match(*job, key)) return job.get();
    return nullptr;
}

void LinkChecker::Close(Job& job) {
    if (job.target.scheme == Scheme::kHttps)
        CloseHttps(job);
    else
        CloseHttp(job);
}

void LinkChecker::Remove(Job& job) {
    Close(job);
    const auto it = std::find_if(running_.begin(), running_.end(), [&](const auto& entry) { return entry.get() == &job; });
    if (it != running_.end()) running_.erase(it);
    if (running_.empty() && timerSet_) {
        KillTimer(tree_.hwnd(), kTimeoutTimer);
        timerSet_ = false;
    }
}

void LinkChecker::Finish(Job& job) {
    Remove(job);
    Pump();
}

void LinkChecker::Fail(Job& job, const std::string& text) {
    const bool judged = job.judged;  // a reset after the status line: the verdict stands
    if (!judged) Show(job, fav::kImageLinkDead, text::AnsiToUtf8(text));
    // The slot is free and the queue moves on before the box opens: the box runs its own message
    // loop, and other checks go on meanwhile.
    Finish(job);
    if (!judged) Report(text, kErrorCaption);
}

bool LinkChecker::Received(Job& job, std::string_view bytes) {
    if (!job.judged && job.reader.Add(bytes)) Judge(job, job.reader.status(), job.reader.location());
    return job.judged;
}

void LinkChecker::Judge(Job& job, int status, std::string_view location) {
    job.judged = true;
    job.status = status;
    if (IsPermanentRedirect(status)) job.movedTo = ResolveLocation(job.url, location);
    // A moved page keeps the alive picture; the status bar says where it went.
    const std::string outcome = !job.movedTo.empty() ? text::AnsiToUtf8(kMovedPrefix) + job.movedTo
                                : status > 0         ? text::Format("HTTP %d", status)
                                                     : std::string("HTTP ?");
    Show(job, ImageFor(VerdictFor(status)), outcome);
}

void LinkChecker::Show(const Job& job, int image, const std::string& outcome) {
    SetImage(job.node, image);
    outcomes_[job.node] = outcome;
    if (const std::optional<std::wstring> file = tree_.NodeFile(job.node)) {
        CheckRecord record;
        record.url = job.url;
        record.image = image;
        record.status = job.status;
        record.outcome = outcome;
        record.movedTo = job.movedTo;
        ResultStore::Instance().Record(*file, std::move(record));
    }
    // The same text the tree shows when the item is selected, without reading its file again.
    if (TreeView_GetSelection(tree_.hwnd()) == job.node) tree_.SetStatusText(text::Utf8ToWide(outcome + "  " + job.url));
}

void LinkChecker::SetImage(HTREEITEM node, int image) {
    TVITEMA item{};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = node;
    item.iImage = image;
    item.iSelectedImage = image;
    TreeView_SetItem(tree_.hwnd(), &item);
}

void LinkChecker::Report(std::string text, std::optional<std::string> caption) {
    // One box per tree at a time: a folder of dead links must not stack a box per link. What
    // fails meanwhile only shows its picture and is counted in one box afterwards.
    if (boxOpen_) {
        ++unreported_;
        return;
    }
    boxOpen_ = true;
    for (;;) {
        if (caption)
            tree_.Message(text, *caption, MB_ICONERROR);
        else
            tree_.Message(text, MB_ICONERROR);
        if (unreported_ == 0) break;
        text = text::Format(kMoreFailed, unreported_);
        caption = kErrorCaption;
        unreported_ = 0;
    }
    boxOpen_ = false;
}

void LinkChecker::OnTimer() {
    const ULONGLONG now = GetTickCount64();
    for (;;) {
        const auto late = std::find_if(running_.begin(), running_.end(), [&](const auto& job) {
            return !job->judged && job->deadline <= now;
        });
        if (late == running_.end()) return;
        Fail(**late, kNoResponse);
    }
}

bool LinkChecker::StopBeforeReload() {
    if (running_.empty()) return true;
    if (tree_.Message(kStopQuestion, kStopCaption, MB_YESNO | MB_ICONEXCLAMATION) != IDYES) return false;
    Abandon();
    return true;
}

void LinkChecker::Abandon() {
    pending_.clear();
    startedSinceIdle_ = 0;
    outcomes_.clear();
    while (!running_.empty()) Remove(*running_.back());
}

void LinkChecker::Forget(HTREEITEM node) {
    std::erase_if(pending_, [node](const Pending& entry) { return entry.node == node; });
    outcomes_.erase(node);
    const auto hasNode = [](const Job& job, UINT_PTR key) { return job.node == reinterpret_cast<HTREEITEM>(key); };
    bool freed = false;
    for (Job* job; (job = Find(hasNode, reinterpret_cast<UINT_PTR>(node)));) {
        Remove(*job);
        freed = true;
    }
    // The tree is in the middle of removing items: the next checks start once it is done.
    if (freed && !pending_.empty()) PostMessageA(tree_.hwnd(), kResume, 0, 0);
}

bool LinkChecker::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (message) {
    case kSocketEvent:
        OnSocketEvent(wParam, lParam);
        *result = 0;
        return true;
    case kLookupDone:
        OnLookupDone(wParam, lParam);
        return false;  // the tree view sees it too
    case kHttpsEvent:
        OnHttpsEvent(wParam, lParam);
        *result = 0;
        return true;
    case kResume:
        Pump();
        *result = 0;
        return true;
    case WM_TIMER:
        if (wParam != kTimeoutTimer) return false;
        OnTimer();
        *result = 0;
        return true;
    default:
        return false;
    }
}

void LinkChecker::ShowKeptResults() {
    ResultStore& store = ResultStore::Instance();
    if (store.empty()) return;
    VisitShortcuts(tree_, [&](HTREEITEM node) {
        const std::optional<std::wstring> file = tree_.NodeFile(node);
        const std::optional<CheckRecord> kept = file ? store.Find(*file) : std::nullopt;
        if (!kept) return;
        SetImage(node, kept->image);
        outcomes_[node] = kept->outcome;
    });
}

std::optional<std::wstring> LinkChecker::Outcome(HTREEITEM node) const {
    const auto it = outcomes_.find(node);
    if (it == outcomes_.end()) return std::nullopt;
    return text::Utf8ToWide(it->second);
}

}  // namespace linkcheck
