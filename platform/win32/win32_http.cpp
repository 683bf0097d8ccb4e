#include "platform/win32/win32_http.h"

#include <atomic>
#include <string>
#include <vector>

#include "platform/win32/system_library.h"
#include "platform/win32/text.h"
#include "platform/win32/exception_boundary.h"

namespace platform::win32 {

namespace {

// WinHTTP from the system folder, loaded at the first request and kept until
// the process ends: its worker threads may still be finishing a closed
// request after every object of the program has gone.
struct WinHttp {
  template <typename Function>
  Function* find(const char* name) {
    Function* function = library.find<Function>(name);
    complete = complete && function;
    return function;
  }

  SystemLibrary library{L"winhttp.dll"};
  bool complete = true;  // every call below was found
  decltype(::WinHttpOpen)* open = find<decltype(::WinHttpOpen)>("WinHttpOpen");
  decltype(::WinHttpCloseHandle)* closeHandle = find<decltype(::WinHttpCloseHandle)>("WinHttpCloseHandle");
  decltype(::WinHttpCrackUrl)* crackUrl = find<decltype(::WinHttpCrackUrl)>("WinHttpCrackUrl");
  decltype(::WinHttpConnect)* connect = find<decltype(::WinHttpConnect)>("WinHttpConnect");
  decltype(::WinHttpOpenRequest)* openRequest = find<decltype(::WinHttpOpenRequest)>("WinHttpOpenRequest");
  decltype(::WinHttpSetTimeouts)* setTimeouts = find<decltype(::WinHttpSetTimeouts)>("WinHttpSetTimeouts");
  decltype(::WinHttpSetOption)* setOption = find<decltype(::WinHttpSetOption)>("WinHttpSetOption");
  decltype(::WinHttpSetStatusCallback)* setStatusCallback =
      find<decltype(::WinHttpSetStatusCallback)>("WinHttpSetStatusCallback");
  decltype(::WinHttpSendRequest)* sendRequest = find<decltype(::WinHttpSendRequest)>("WinHttpSendRequest");
  decltype(::WinHttpReceiveResponse)* receiveResponse =
      find<decltype(::WinHttpReceiveResponse)>("WinHttpReceiveResponse");
  decltype(::WinHttpQueryDataAvailable)* queryDataAvailable =
      find<decltype(::WinHttpQueryDataAvailable)>("WinHttpQueryDataAvailable");
  decltype(::WinHttpReadData)* readData = find<decltype(::WinHttpReadData)>("WinHttpReadData");
};

// Null when the library or any of its calls is missing: then no session opens
// and no request is made.
const WinHttp* Api() {
  static const WinHttp* const api = new WinHttp;  // never freed, see above
  return api->complete ? api : nullptr;
}

}  // namespace

struct Win32HttpGet::Fetch {
  HWND window = nullptr;
  std::uint64_t generation = 0;
  HINTERNET connection = nullptr;
  HINTERNET request = nullptr;
  std::string body;  // written by the worker threads until `finished`
  std::vector<char> block;
  std::atomic<bool> finished{false};
  std::atomic<bool> closed{false};

  ~Fetch() {
    if (connection) Api()->closeHandle(connection);
  }
  // The request handle is closed once, by whichever side gets here first.
  void close() {
    if (!closed.exchange(true) && request) Api()->closeHandle(request);
  }
  // The end of the exchange: an answer with at least one byte goes to the
  // window; no bytes, an error or a time-out go nowhere.
  void finish(bool answered) {
    if (finished.exchange(true)) return;
    if (answered && !body.empty()) {
      ::PostMessageW(window, kAnswerMessage, static_cast<WPARAM>(generation), 0);
    }
    close();
  }
};

namespace {

constexpr wchar_t kWindowClass[] = L"DravikHttpAnswer";

// The WinHTTP context of a request: one reference to its fetch, dropped when
// WinHTTP reports the handle closing (its last callback).
using FetchReference = std::shared_ptr<Win32HttpGet::Fetch>;

void OnRequestStatus(HINTERNET handle, DWORD_PTR context, DWORD status, LPVOID info, DWORD length) {
  auto* reference = reinterpret_cast<FetchReference*>(context);
  if (!reference) return;
  if (status == WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING) {
    delete reference;
    return;
  }
  // A local reference: the calls below may run the closing callback nested.
  const FetchReference fetch = *reference;
  if (fetch->finished) return;
  switch (status) {
    case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
      if (!Api()->receiveResponse(handle, nullptr)) fetch->finish(false);
      break;
    case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
      if (!Api()->queryDataAvailable(handle, nullptr)) fetch->finish(false);
      break;
    case WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE: {
      const DWORD available = info ? *static_cast<DWORD*>(info) : 0;
      if (available == 0) {
        fetch->finish(true);
        break;
      }
      fetch->block.assign(available, '\0');
      if (!Api()->readData(handle, fetch->block.data(), available, nullptr)) fetch->finish(true);
      break;
    }
    case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
      if (length == 0) {
        fetch->finish(true);
        break;
      }
      fetch->body.append(static_cast<const char*>(info), length);
      if (!Api()->queryDataAvailable(handle, nullptr)) fetch->finish(true);
      break;
    case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
      fetch->finish(false);
      break;
    default:
      break;
  }
}

// Runs on a WinHTTP thread, where nothing may escape.
void CALLBACK RequestCallback(HINTERNET handle, DWORD_PTR context, DWORD status, LPVOID info,
                              DWORD length) {
  Guarded(L"UpdateCheck", 0, [&] {
    OnRequestStatus(handle, context, status, info, length);
    return 0;
  });
}

// The answer's bytes as text: UTF-8 when they are, else the system's code page.
std::wstring AnswerText(const std::string& bytes) {
  const int chars = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                          static_cast<int>(bytes.size()), nullptr, 0);
  return Widen(chars > 0 ? CP_UTF8 : CP_ACP, bytes);
}

}  // namespace

Win32HttpGet::Win32HttpGet() {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.lpfnWndProc = WindowProc;
  cls.hInstance = instance;
  cls.lpszClassName = kWindowClass;
  ::RegisterClassExW(&cls);  // fails harmlessly when a second object registers again
  window_ = ::CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                              nullptr);
  if (window_) ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32HttpGet::~Win32HttpGet() {
  cancel();
  if (window_) {
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
  }
  if (session_) Api()->closeHandle(session_);
}

void Win32HttpGet::start(const std::wstring& url, const HttpTimeouts& timeouts,
                         std::function<void(const std::wstring& text)> received) {
  cancel();
  received_ = std::move(received);
  const WinHttp* const loaded = Api();
  if (!loaded || !window_) return;
  const WinHttp& api = *loaded;
  // The session opens with the first request, so that a run without an
  // update check never loads WinHTTP.
  if (!session_) {
    session_ = api.open(L"Dravik Task Manager", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                        WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC);
  }
  if (!session_) return;

  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof(parts);
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!api.crackUrl(url.c_str(), 0, 0, &parts)) return;
  const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
  if (parts.lpszExtraInfo) path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (path.empty()) path = L"/";

  auto fetch = std::make_shared<Fetch>();
  fetch->window = window_;
  fetch->generation = ++generation_;
  fetch->connection = api.connect(session_, host.c_str(), parts.nPort, 0);
  if (!fetch->connection) return;
  const DWORD secure = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
  fetch->request = api.openRequest(fetch->connection, L"GET", path.c_str(), nullptr,
                                   WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, secure);
  if (!fetch->request) return;
  api.setTimeouts(fetch->request, timeouts.resolve, timeouts.connect, timeouts.send,
                  timeouts.receive);

  auto* reference = new FetchReference(fetch);
  DWORD_PTR context = reinterpret_cast<DWORD_PTR>(reference);
  // Set before the request is sent, so that even a send that fails at once
  // reports the handle closing to the callback that frees the reference.
  api.setOption(fetch->request, WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof(context));
  api.setStatusCallback(fetch->request, RequestCallback,
                        WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS | WINHTTP_CALLBACK_FLAG_HANDLES, 0);
  current_ = fetch;
  if (!api.sendRequest(fetch->request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0,
                       0, context)) {
    fetch->finish(false);
  }
}

bool Win32HttpGet::busy() const { return current_ && !current_->finished; }

void Win32HttpGet::cancel() {
  if (current_) {
    current_->finished = true;  // a late answer of this fetch is never delivered
    current_->close();
    current_.reset();
  }
  received_ = nullptr;
}

void Win32HttpGet::delivered(WPARAM generation) {
  if (!current_ || static_cast<WPARAM>(current_->generation) != generation)
    return;  // replaced or cancelled
  const std::wstring text = AnswerText(current_->body);
  current_.reset();
  auto handler = std::move(received_);
  received_ = nullptr;
  if (handler) handler(text);
}

LRESULT CALLBACK Win32HttpGet::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kAnswerMessage) {
    auto* self = reinterpret_cast<Win32HttpGet*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    // The answer's handler is the caller's code, run from this window.
    if (self) Guarded(L"UpdateCheck", 0, [&] {
      self->delivered(wParam);
      return 0;
    });
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace platform::win32
