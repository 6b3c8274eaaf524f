// sim_client.h: a plain-socket client for the simulator's tests, building requests the way the
// router's clients send them and reading the router's pages back.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace quirn::sim::testing {

using namespace std::chrono_literals;

struct Exchanged {
    bool connected = false;
    bool reset = false;      // the connection was reset while reading
    bool timed_out = false;  // nothing more came within the time-out; the connection was open
    std::string bytes;       // everything received
};

// Connects to 127.0.0.1:port, sends `request`, reads until the router closes.
Exchanged Exchange(uint16_t port, std::string_view request,
                   std::chrono::milliseconds timeout = 5000ms);

// What the first recv after sending `request` returns (one packet's worth).
std::string FirstRead(uint16_t port, std::string_view request);

enum class ConnectOutcome { kConnected, kRefused, kTimedOut };
ConnectOutcome TryConnect(uint16_t port, std::chrono::milliseconds timeout);

// Requests byte for byte as the router's clients build them.
std::string GetRequest(std::string_view path);
std::string GetRequest(std::string_view path, std::string_view user, std::string_view password);
std::string CommandRequest(std::string_view path, std::string_view user, std::string_view password,
                           std::string_view token);
std::string PasswordRequest(std::string_view password, std::string_view retry,
                            std::string_view token);

std::string Base64(std::string_view bytes);
// Percent-encoding of a form value.
std::string FormEncode(std::string_view text);

int StatusCode(std::string_view response);
std::string HeaderBlock(std::string_view response);
std::string Body(std::string_view response);
// EUC-JP to UTF-8 with the C library's plain EUC-JP table; nullopt when not convertible.
std::optional<std::string> EucToUtf8(std::string_view euc);

// heading (cut at "(") + label → value text, as a reader of the status page keys them.
std::map<std::string, std::string> StatusItems(std::string_view page);
std::optional<std::string> PageTitle(std::string_view page);
// The token of `<input type="hidden" id="SESSION_ID" name="SESSION_ID" value="...">`.
std::optional<std::string> PageToken(std::string_view page);

}  // namespace quirn::sim::testing
