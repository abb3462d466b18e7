// https checks through WinHTTP in asynchronous mode. WinHTTP calls back on its own threads; the
// callback only posts a message to the tree window, so every decision is made on the tree's
// thread like the WinSock checks'. Redirects are not followed, as with http.
#include "FailureTexts.h"
#include "Job.h"

#include <base/TextEncoding.h>

#include <winhttp.h>

namespace linkcheck {

using namespace texts;

namespace {

constexpr wchar_t kUserAgent[] = L"Tolvak Favorites Manager - LinkCheck";

// What the callback posts (low byte of lParam; the error code above it).
enum Step : LPARAM { kSent = 1, kHeaders = 2, kError = 3, kClosing = 4 };

// Travels with a request as its context; immutable, so WinHTTP's threads may read it. It is freed
// when the request handle is closing, the last call WinHTTP makes for it.
struct Context {
    HWND window;
    uint32_t id;
};

void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info, DWORD) {
    auto* request = reinterpret_cast<Context*>(context);
    if (!request) return;
    LPARAM step = 0;
    switch (status) {
    case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE: step = kSent; break;
    case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE: step = kHeaders; break;
    case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
        step = kError | static_cast<LPARAM>(static_cast<const WINHTTP_ASYNC_RESULT*>(info)->dwError) << 8;
        break;
    case WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING:
        delete request;
        return;
    default: return;
    }
    PostMessageA(request->window, LinkChecker::kHttpsEvent, request->id, step);
}

bool HasId(const LinkChecker::Job& job, UINT_PTR id) { return job.request && job.id == id; }

bool IsCertificateError(DWORD error) {
    switch (error) {
    case ERROR_WINHTTP_SECURE_FAILURE:        // what Windows reports for an untrusted certificate
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:  // what Wine reports for it
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
    case ERROR_WINHTTP_SECURE_INVALID_CA:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
    case ERROR_WINHTTP_SECURE_CERT_REVOKED:
    case ERROR_WINHTTP_SECURE_CERT_REV_FAILED:
    case ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE:
        return true;
    default:
        return false;
    }
}

const char* TextForError(DWORD error) {
    if (IsCertificateError(error)) return kCertificateFailed;
    switch (error) {
    case ERROR_WINHTTP_NAME_NOT_RESOLVED: return kLookupFailed;
    case ERROR_WINHTTP_CANNOT_CONNECT:
    case ERROR_WINHTTP_CONNECTION_ERROR: return kConnectFailed;
    case ERROR_WINHTTP_TIMEOUT: return kNoResponse;
    default: return kReceiveFailed;
    }
}

// The response's "Location" header in UTF-8, like the addresses it is resolved against ("" when
// there is none).
std::string Location(HINTERNET request) {
    DWORD bytes = 0;
    WinHttpQueryHeaders(request, WINHTTP_QUERY_LOCATION, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER, &bytes,
                        WINHTTP_NO_HEADER_INDEX);
    if (bytes == 0) return {};
    std::wstring value(bytes / sizeof(wchar_t), L'\0');
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_LOCATION, WINHTTP_HEADER_NAME_BY_INDEX, value.data(), &bytes,
                             WINHTTP_NO_HEADER_INDEX))
        return {};
    value.resize(bytes / sizeof(wchar_t));
    return text::WideToUtf8(value);
}

}  // namespace

bool LinkChecker::StartHttps(Job& job, const char** failure) {
    *failure = kConnectFailed;
    if (!httpsSession_) {
        HINTERNET session = WinHttpOpen(kUserAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                        WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC);
        if (!session) return false;
        if (WinHttpSetStatusCallback(session, OnStatus, WINHTTP_CALLBACK_FLAG_ALL_NOTIFICATIONS, 0) ==
            WINHTTP_INVALID_STATUS_CALLBACK) {
            WinHttpCloseHandle(session);
            return false;
        }
        httpsSession_ = session;
    }
    SetImage(job.node, fav::kImageCheckRunning);

    job.connection = WinHttpConnect(httpsSession_, text::AnsiToWide(job.target.host).c_str(),
                                    static_cast<INTERNET_PORT>(job.target.port), 0);
    if (!job.connection) return false;
    job.request = WinHttpOpenRequest(job.connection, L"GET", text::AnsiToWide(RequestPath(job.target.path)).c_str(), nullptr,
                                     WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, WINHTTP_FLAG_SECURE);
    if (!job.request) return false;
    DWORD noRedirects = WINHTTP_DISABLE_REDIRECTS;
    WinHttpSetOption(job.request, WINHTTP_OPTION_DISABLE_FEATURE, &noRedirects, sizeof noRedirects);

    auto* context = new Context{tree_.hwnd(), job.id};
    DWORD_PTR value = reinterpret_cast<DWORD_PTR>(context);
    if (!WinHttpSetOption(job.request, WINHTTP_OPTION_CONTEXT_VALUE, &value, sizeof value)) {
        delete context;
        return false;
    }
    *failure = kSendFailed;
    // From here on the context belongs to the request and goes when its handle closes.
    return WinHttpSendRequest(job.request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, value);
}

void LinkChecker::OnHttpsEvent(WPARAM id, LPARAM event) {
    Job* job = Find(HasId, id);
    if (!job) return;  // a late report of a check that has ended
    switch (event & 0xFF) {
    case kSent:
        if (!WinHttpReceiveResponse(job->request, nullptr)) Fail(*job, kReceiveFailed);
        break;
    case kHeaders: {
        DWORD status = 0;
        DWORD size = sizeof status;
        if (!WinHttpQueryHeaders(job->request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                                 WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX)) {
            Fail(*job, kReceiveFailed);
            break;
        }
        Judge(*job, static_cast<int>(status), IsPermanentRedirect(static_cast<int>(status)) ? Location(job->request) : "");
        Finish(*job);
        break;
    }
    case kError:
        Fail(*job, TextForError(static_cast<DWORD>(event >> 8)));
        break;
    default:
        break;
    }
}

void LinkChecker::CloseHttps(Job& job) {
    if (job.request) WinHttpCloseHandle(job.request);
    if (job.connection) WinHttpCloseHandle(job.connection);
    job.request = nullptr;
    job.connection = nullptr;
}

void LinkChecker::CloseHttpsSession(void* session) {
    if (session) WinHttpCloseHandle(session);
}

}  // namespace linkcheck
