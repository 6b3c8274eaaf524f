// router_model.cpp: what the router answers to each request, and what each command does to it.
#include "sim/router_model.h"

#include <algorithm>
#include <map>

#include "sim/euc_jp.h"
#include "sim/router_pages.h"

namespace quirn::sim {
namespace {

constexpr std::string_view kAdminUser = "admin";
constexpr size_t kTokenLength = 32;
// The router's own page allows passwords of up to 64 characters, whatever their bytes.
constexpr size_t kMaxPasswordCharacters = 64;
constexpr size_t kLongLineLength = 5000;
constexpr size_t kHugePageBytes = 10 * 1024 * 1024;
constexpr size_t kGarbageBytes = 2048;

const char* Reason(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 302:
            return "Found";
        case 400:
            return "Bad Request";
        case 401:
            return "Unauthorized";
        case 403:
            return "Forbidden";
        case 404:
            return "Not Found";
        case 405:
            return "Method Not Allowed";
        default:
            return "Error";
    }
}

bool IsPageFault(Fault fault) {
    switch (fault) {
        case Fault::kNoToken:
        case Fault::kInvalidEucJp:
        case Fault::kNoBodyEndClosed:
        case Fault::kNoBodyEndOpen:
        case Fault::kLongLine:
        case Fault::kLongLineUnended:
        case Fault::kHugePage:
            return true;
        default:
            return false;
    }
}

std::string ErrorBody(int status) {
    std::string title = std::to_string(status) + " " + Reason(status);
    return "<html><head><title>" + title + "</title></head><body><h1>" + title +
           "</h1></body></html>\n";
}

}  // namespace

std::string HttpResponse(int status, const std::string& body,
                         const std::vector<std::string>& extra_headers) {
    std::string out = "HTTP/1.1 " + std::to_string(status) + " " + Reason(status) + "\r\n";
    for (const std::string& header : extra_headers) {
        out += header + "\r\n";
    }
    if (!body.empty()) {
        out += "Content-Type: text/html; charset=EUC-JP\r\n";
    }
    out += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    out += "Cache-Control: no-cache\r\nConnection: close\r\n\r\n";
    out += body;
    return out;
}

RouterModel::RouterModel(const SimOptions& options) : options_(options), state_(options.state) {
    faults_.Set(options.faults);
    random_.seed(options.seed != 0 ? options.seed : std::random_device{}());
}

RouterModel::Target RouterModel::Classify(const std::string& path) {
    struct Entry {
        std::string_view path;
        Route route;
        Command command;
    };
    static constexpr Entry kRoutes[] = {
        {"/mobile/mobile.cgi/info_remote_main", Route::kStatusPage, Command::kReboot},
        {"/index.cgi/info_btn", Route::kAdminInfo, Command::kReboot},
        {"/", Route::kTopPage, Command::kReboot},
        {"/function/wimax/index.html", Route::kMakerCheck, Command::kReboot},
        {"/index.cgi/fw_main", Route::kFirmwarePage, Command::kReboot},
        {"/index.cgi/info_btn_reboot", Route::kAdminCommand, Command::kReboot},
        {"/index.cgi/info_btn_standby", Route::kAdminCommand, Command::kStandby},
        {"/index.cgi/info_btn_lte3g", Route::kAdminCommand, Command::kLte3g},
        {"/index.cgi/info_btn_wlan", Route::kAdminCommand, Command::kWlan},
        {"/mobile/mobile.cgi/info_remote_main_reboot", Route::kStatusCommand, Command::kReboot},
        {"/mobile/mobile.cgi/info_remote_main_standby", Route::kStatusCommand, Command::kStandby},
        {"/mobile/mobile.cgi/info_remote_main_lte3g", Route::kStatusCommand, Command::kLte3g},
        {"/mobile/mobile.cgi/info_remote_main_wlan", Route::kStatusCommand, Command::kWlan},
        {"/index.cgi/wizard_password_set", Route::kPasswordSet, Command::kReboot},
    };
    for (const Entry& entry : kRoutes) {
        if (entry.path == path) {
            bool post = entry.route == Route::kAdminCommand ||
                        entry.route == Route::kStatusCommand || entry.route == Route::kPasswordSet;
            return Target{entry.route, entry.command, post};
        }
    }
    return Target{};
}

bool RouterModel::FaultApplies(Fault fault, const Target& target) const {
    bool page = target.route == Route::kStatusPage || target.route == Route::kAdminInfo ||
                target.route == Route::kTopPage || target.route == Route::kFirmwarePage;
    bool command = target.route == Route::kAdminCommand || target.route == Route::kStatusCommand;
    if (IsPageFault(fault)) {
        return page;
    }
    switch (fault) {
        case Fault::kRebootDropsConnection:
            return command && target.command == Command::kReboot;
        case Fault::kNoAdminPages:
            return target.route == Route::kAdminInfo || target.route == Route::kAdminCommand ||
                   target.route == Route::kFirmwarePage;
        case Fault::kSlowAccept:
            return false;
        default:
            return true;
    }
}

Reply RouterModel::Handle(const std::string& raw) {
    if (options_.on_request) {
        options_.on_request(raw);
    }
    std::lock_guard lock(mutex_);
    std::optional<HttpRequest> request = ParseRequest(raw);
    if (!request) {
        Record(ReceivedRequest{raw, "", "", ""});
        return Reply{HttpResponse(400, ErrorBody(400))};
    }
    Record(ReceivedRequest{raw, request->method, request->path, request->body});

    Target target = Classify(request->path);
    std::optional<Fault> fault =
        faults_.TakeFor(request->path, [&](Fault f) { return FaultApplies(f, target); });
    Reply reply;
    switch (fault.value_or(Fault::kSlowAccept)) {
        case Fault::kUnauthorized:
            reply.bytes = HttpResponse(
                401, "", {"WWW-Authenticate: Basic realm=\"" + state_.device_name + "\""});
            break;
        case Fault::kUnauthorizedWithBody:
            reply.bytes =
                HttpResponse(401, ErrorBody(401),
                             {"WWW-Authenticate: Basic realm=\"" + state_.device_name + "\""});
            break;
        case Fault::kRedirect:
            reply.bytes = HttpResponse(302, "", {"Location: /index.cgi/login"});
            break;
        case Fault::kNoAdminPages:
            reply.bytes = HttpResponse(404, ErrorBody(404));
            break;
        case Fault::kBinaryGarbage:
            for (size_t i = 0; i < kGarbageBytes; ++i) {
                reply.bytes += static_cast<char>(random_() & 0xFF);
            }
            break;
        case Fault::kAcceptThenSilence:
            reply.ending = Reply::Ending::kHoldOpen;
            break;
        default:
            reply = Answer(*request, target, fault);
    }
    if (fault == Fault::kDrip) {
        reply.drip = true;
    } else if (fault == Fault::kSplitStatusLine) {
        reply.split_at = std::min<size_t>(6, reply.bytes.size());  // "HTTP/1" | ".1 200 OK"
    } else if (fault == Fault::kResetMidPage) {
        reply.ending = Reply::Ending::kReset;
        reply.reset_after = reply.bytes.size() / 2;
    }
    if (request->method == "HEAD") {
        size_t header_end = reply.bytes.find("\r\n\r\n");
        if (header_end != std::string::npos) {
            reply.bytes.resize(header_end + 4);
        }
    }
    return reply;
}

void RouterModel::LogIncomplete(const std::string& raw) {
    if (options_.on_request) {
        options_.on_request(raw);
    }
    std::lock_guard lock(mutex_);
    Record(ReceivedRequest{raw, "", "", ""});
}

void RouterModel::Record(ReceivedRequest received) {
    received_.push_back(std::move(received));
    received_cv_.notify_all();
}

Reply RouterModel::Answer(const HttpRequest& request, const Target& target,
                          std::optional<Fault> fault) {
    if (target.route == Route::kUnknown) {
        return Reply{HttpResponse(404, ErrorBody(404))};
    }
    bool method_ok = target.post ? request.method == "POST"
                                 : request.method == "GET" || request.method == "HEAD";
    if (!method_ok) {
        return Reply{
            HttpResponse(405, ErrorBody(405), {target.post ? "Allow: POST" : "Allow: GET, HEAD"})};
    }
    const std::vector<std::string> challenge = {"WWW-Authenticate: Basic realm=\"" +
                                                state_.device_name + "\""};
    bool initial = state_.initial_password_mode;
    switch (target.route) {
        case Route::kMakerCheck:
            return PageReply(200, MakerPage(), std::nullopt);
        case Route::kStatusPage:
            if (!IsStatusAccount(request) && !IsAdmin(request)) {
                return Reply{HttpResponse(401, "", challenge)};
            }
            if (initial) {
                return PageReply(200, InitialPasswordPage(state_, IssueToken(fault)), fault);
            }
            return PageReply(200, StatusPage(state_, false, IssueToken(fault)), fault);
        case Route::kAdminInfo:
        case Route::kFirmwarePage:
            // Without an administrator password there is no administrator to log in.
            if (initial) {
                return PageReply(200, InitialPasswordPage(state_, IssueToken(fault)), fault);
            }
            if (!IsAdmin(request)) {
                return Reply{HttpResponse(401, "", challenge)};
            }
            if (target.route == Route::kFirmwarePage) {
                return PageReply(200, FirmwarePage(state_, IssueToken(fault)), fault);
            }
            return PageReply(200, StatusPage(state_, true, IssueToken(fault)), fault);
        case Route::kTopPage:
            if (initial) {
                return PageReply(200, InitialPasswordPage(state_, IssueToken(fault)), fault);
            }
            return PageReply(200, TopPage(state_, IssueToken(fault)), fault);
        case Route::kAdminCommand:
        case Route::kStatusCommand:
            return AnswerCommand(request, target, fault);
        case Route::kPasswordSet:
            return AnswerPasswordSet(request);
        case Route::kUnknown:
            break;
    }
    return Reply{HttpResponse(404, ErrorBody(404))};
}

Reply RouterModel::AnswerCommand(const HttpRequest& request, const Target& target,
                                 std::optional<Fault> fault) {
    bool authorized = target.route == Route::kAdminCommand
                          ? IsAdmin(request)
                          : IsStatusAccount(request) || IsAdmin(request);
    if (!authorized) {
        return Reply{HttpResponse(
            401, "", {"WWW-Authenticate: Basic realm=\"" + state_.device_name + "\""})};
    }
    if (state_.initial_password_mode) {
        return PageReply(
            403,
            MessagePage(state_, "エラー", "管理者パスワードが設定されていません。", std::nullopt),
            std::nullopt);
    }
    std::map<std::string, std::string> form = DecodeForm(request.body);
    if (!CheckToken(form["SESSION_ID"])) {
        return PageReply(
            403,
            MessagePage(state_, "エラー", "セッションが無効です。もう一度操作してください。",
                        std::nullopt),
            std::nullopt);
    }
    if (form["CHECK_ACTION_MODE"] != "1") {
        return PageReply(400, MessagePage(state_, "エラー", "不正な要求です。", std::nullopt),
                         std::nullopt);
    }
    Reply reply;
    switch (target.command) {
        case Command::kReboot:
            down_until_ = Clock::now() + options_.reboot_down_time;
            last_token_.clear();  // a restarted router knows no session
            if (fault == Fault::kRebootDropsConnection) {
                reply.goes_down = true;
                return reply;
            }
            reply =
                PageReply(200,
                          MessagePage(state_, "再起動",
                                      "再起動しています。しばらくお待ちください。", std::nullopt),
                          std::nullopt);
            reply.goes_down = true;
            return reply;
        case Command::kStandby:
            standby_ = true;
            last_token_.clear();
            reply = PageReply(
                200,
                MessagePage(state_, "スタンバイ", "スタンバイ状態に移行します。", std::nullopt),
                std::nullopt);
            reply.goes_down = true;
            return reply;
        case Command::kLte3g:
            state_.connection = Connection::kLte;
            state_.connection_text.clear();
            return PageReply(200,
                             MessagePage(state_, "通信モード", "LTE/3Gを優先に切り替えました。",
                                         IssueToken(std::nullopt)),
                             std::nullopt);
        case Command::kWlan:
            state_.connection = Connection::kWirelessLan;
            state_.connection_text.clear();
            return PageReply(200,
                             MessagePage(state_, "通信モード", "無線LANを優先に切り替えました。",
                                         IssueToken(std::nullopt)),
                             std::nullopt);
    }
    return reply;
}

Reply RouterModel::AnswerPasswordSet(const HttpRequest& request) {
    if (!state_.initial_password_mode) {
        return PageReply(
            403, MessagePage(state_, "エラー", "管理者パスワードは設定済みです。", std::nullopt),
            std::nullopt);
    }
    std::map<std::string, std::string> form = DecodeForm(request.body);
    if (!CheckToken(form["SESSION_ID"])) {
        return PageReply(
            403,
            MessagePage(state_, "エラー", "セッションが無効です。もう一度操作してください。",
                        std::nullopt),
            std::nullopt);
    }
    const std::string& password = form["INIT_PASSWD"];
    bool printable = true;
    size_t characters = 0;
    for (char c : password) {
        printable = printable && static_cast<unsigned char>(c) >= 0x20 && c != 0x7F;
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;  // UTF-8 lead bytes
    }
    if (password.empty() || characters > kMaxPasswordCharacters || !printable ||
        password != form["INIT_RETRY_PASSWD"]) {
        return PageReply(400,
                         MessagePage(state_, "エラー",
                                     "パスワードが正しくありません。もう一度入力してください。",
                                     IssueToken(std::nullopt)),
                         std::nullopt);
    }
    state_.admin_password = password;
    state_.initial_password_mode = false;
    return PageReply(200,
                     MessagePage(state_, "設定完了", "管理者パスワードを設定しました。",
                                 IssueToken(std::nullopt)),
                     std::nullopt);
}

Reply RouterModel::PageReply(int status, const std::vector<std::string>& page,
                             std::optional<Fault> fault) {
    std::vector<std::string> lines;
    for (const std::string& line : page) {
        // A text the test put into the state may hold characters EUC-JP lacks; they become "?".
        lines.push_back(Utf8ToEucJp(line, true).value_or("?"));
    }
    auto body_start = lines.begin();
    while (body_start != lines.end() && *body_start != "<body>") {
        ++body_start;
    }
    if (body_start != lines.end()) {
        ++body_start;
    }
    Reply reply;
    switch (fault.value_or(Fault::kSlowAccept)) {
        case Fault::kNoBodyEndOpen:
            reply.ending = Reply::Ending::kHoldOpen;
            [[fallthrough]];
        case Fault::kNoBodyEndClosed:
        case Fault::kLongLineUnended:
            while (!lines.empty() &&
                   (lines.back() == kHtmlEndLine || lines.back() == kBodyEndLine)) {
                lines.pop_back();
            }
            break;
        case Fault::kInvalidEucJp:
            // Half-width katakana: valid for some readers, not for the router's clients.
            lines.insert(body_start, "<p class=\"notice\">\x8E\xB1\x8E\xDD</p>");
            break;
        case Fault::kLongLine:
            lines.insert(body_start, "<p>" + std::string(kLongLineLength, 'x') + "</p>");
            break;
        case Fault::kHugePage: {
            // One entry of many lines: building it must stay quick next to sending it.
            const std::string filler = "<p>" + std::string(96, 'z') + "</p>\n";
            std::string block;
            block.reserve(kHugePageBytes + filler.size());
            while (block.size() < kHugePageBytes) {
                block += filler;
            }
            block.pop_back();
            lines.insert(lines.end() - 2, std::move(block));
            break;
        }
        default:
            break;
    }
    std::string body;
    for (const std::string& line : lines) {
        body += line;
        body += '\n';
    }
    if (fault == Fault::kLongLineUnended) {
        body += "<p>" + std::string(kLongLineLength, 'x');  // no line end: the close ends it
    }
    reply.bytes = HttpResponse(status, body);
    return reply;
}

std::optional<std::string> RouterModel::IssueToken(std::optional<Fault> fault) {
    if (fault == Fault::kNoToken) {
        return std::nullopt;
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string token;
    for (size_t i = 0; i < kTokenLength; ++i) {
        token += kHex[random_() % 16];
    }
    last_token_ = token;
    return token;
}

bool RouterModel::IsStatusAccount(const HttpRequest& request) const {
    auto credentials = BasicCredentials(request);
    return credentials && credentials->first == state_.status_user &&
           credentials->second == state_.status_password;
}

bool RouterModel::IsAdmin(const HttpRequest& request) const {
    auto credentials = BasicCredentials(request);
    return credentials && !state_.initial_password_mode && credentials->first == kAdminUser &&
           credentials->second == state_.admin_password;
}

bool RouterModel::CheckToken(const std::string& token) const {
    return !last_token_.empty() && token == last_token_;
}

RouterState RouterModel::state() const {
    std::lock_guard lock(mutex_);
    return state_;
}

void RouterModel::SetState(const RouterState& state) {
    std::lock_guard lock(mutex_);
    state_ = state;
}

void RouterModel::UpdateState(const std::function<void(RouterState&)>& change) {
    std::lock_guard lock(mutex_);
    change(state_);
}

void RouterModel::SetFaults(std::vector<FaultPlan> plans) {
    std::lock_guard lock(mutex_);
    faults_.Set(std::move(plans));
}

void RouterModel::AddFault(const FaultPlan& plan) {
    std::lock_guard lock(mutex_);
    faults_.Add(plan);
}

bool RouterModel::SlowAcceptArmed() const {
    std::lock_guard lock(mutex_);
    return faults_.Armed(Fault::kSlowAccept);
}

void RouterModel::TakeSlowAccept() {
    std::lock_guard lock(mutex_);
    faults_.TakeOne(Fault::kSlowAccept);
}

bool RouterModel::Reachable() const {
    std::lock_guard lock(mutex_);
    return !standby_ && (!down_until_ || Clock::now() >= *down_until_);
}

bool RouterModel::InStandby() const {
    std::lock_guard lock(mutex_);
    return standby_;
}

void RouterModel::WakeUp() {
    std::lock_guard lock(mutex_);
    standby_ = false;
}

std::string RouterModel::LastToken() const {
    std::lock_guard lock(mutex_);
    return last_token_;
}

std::vector<ReceivedRequest> RouterModel::Received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

size_t RouterModel::RequestCount() const {
    std::lock_guard lock(mutex_);
    return received_.size();
}

void RouterModel::ClearRequests() {
    std::lock_guard lock(mutex_);
    received_.clear();
}

bool RouterModel::WaitForRequests(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return received_cv_.wait_for(lock, timeout, [&] { return received_.size() >= count; });
}

}  // namespace quirn::sim
