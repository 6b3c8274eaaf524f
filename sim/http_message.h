// http_message.h: reading the requests the router receives — framing, header fields, Basic
// credentials and form bodies. Lenient on purpose: it must accept what real clients send.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quirn::sim {

struct HttpRequest {
    std::string method;
    std::string path;  // the request target without its query
    std::string version;
    std::vector<std::pair<std::string, std::string>> headers;  // in order, names as sent
    std::string body;

    // Value of the first header of that name, compared case-insensitively.
    std::optional<std::string> Header(std::string_view name) const;
};

// How much of `buffer` one request takes: nullopt while the header or the Content-Length body
// is incomplete, 0 when the buffer can never become a request (no request line, bad length).
std::optional<size_t> RequestLength(std::string_view buffer);

// Parses one complete request; nullopt when it is not a request.
std::optional<HttpRequest> ParseRequest(std::string_view raw);

// User and password of an "Authorization: Basic" header; nullopt when absent or malformed.
std::optional<std::pair<std::string, std::string>> BasicCredentials(const HttpRequest& request);

// application/x-www-form-urlencoded fields, decoded ("+" is a blank, "%XX" a byte).
std::map<std::string, std::string> DecodeForm(std::string_view body);

// Standard Base64 without line breaks; nullopt on a character outside the alphabet.
std::optional<std::string> DecodeBase64(std::string_view text);

}  // namespace quirn::sim
