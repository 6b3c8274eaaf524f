// http_message.cpp: request framing and field decoding for the simulator.
#include "sim/http_message.h"

#include <cctype>
#include <charconv>

namespace quirn::sim {
namespace {

constexpr size_t kMaxBody = 1 << 20;

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

// End of the header block (just past the blank line); a bare "\n\n" is accepted too.
std::optional<size_t> HeaderEnd(std::string_view buffer) {
    size_t crlf = buffer.find("\r\n\r\n");
    size_t lf = buffer.find("\n\n");
    if (crlf == std::string_view::npos && lf == std::string_view::npos) {
        return std::nullopt;
    }
    if (lf == std::string_view::npos || (crlf != std::string_view::npos && crlf < lf)) {
        return crlf + 4;
    }
    return lf + 2;
}

std::vector<std::pair<std::string, std::string>> HeaderFields(std::string_view block) {
    std::vector<std::pair<std::string, std::string>> fields;
    size_t start = block.find('\n');
    while (start != std::string_view::npos && start + 1 < block.size()) {
        size_t end = block.find('\n', start + 1);
        std::string_view line = block.substr(
            start + 1, end == std::string_view::npos ? std::string_view::npos : end - start - 1);
        size_t colon = line.find(':');
        if (colon != std::string_view::npos) {
            fields.emplace_back(std::string(Trim(line.substr(0, colon))),
                                std::string(Trim(line.substr(colon + 1))));
        }
        start = end;
    }
    return fields;
}

std::optional<size_t> ContentLength(const std::vector<std::pair<std::string, std::string>>& fields,
                                    bool& bad) {
    for (const auto& [name, value] : fields) {
        if (EqualsIgnoreCase(name, "Content-Length")) {
            size_t length = 0;
            auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), length);
            if (error != std::errc() || end != value.data() + value.size() || length > kMaxBody) {
                bad = true;
                return std::nullopt;
            }
            return length;
        }
    }
    return std::nullopt;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string DecodeFormText(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out += ' ';
        } else if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
                   HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];  // a stray "%" stays as it is, as lenient servers keep it
        }
    }
    return out;
}

}  // namespace

std::optional<std::string> HttpRequest::Header(std::string_view name) const {
    for (const auto& [field, value] : headers) {
        if (EqualsIgnoreCase(field, name)) {
            return value;
        }
    }
    return std::nullopt;
}

std::optional<size_t> RequestLength(std::string_view buffer) {
    std::optional<size_t> header_end = HeaderEnd(buffer);
    if (!header_end) {
        return std::nullopt;
    }
    bool bad = false;
    std::optional<size_t> length = ContentLength(HeaderFields(buffer.substr(0, *header_end)), bad);
    if (bad) {
        return 0;
    }
    size_t total = *header_end + length.value_or(0);
    if (buffer.size() < total) {
        return std::nullopt;
    }
    return total;
}

std::optional<HttpRequest> ParseRequest(std::string_view raw) {
    std::optional<size_t> header_end = HeaderEnd(raw);
    if (!header_end) {
        return std::nullopt;
    }
    std::string_view block = raw.substr(0, *header_end);
    std::string_view line = Trim(block.substr(0, block.find('\n')));
    size_t first_blank = line.find(' ');
    size_t last_blank = line.rfind(' ');
    if (first_blank == std::string_view::npos || last_blank == first_blank) {
        return std::nullopt;
    }
    HttpRequest request;
    request.method = std::string(line.substr(0, first_blank));
    std::string_view target = Trim(line.substr(first_blank + 1, last_blank - first_blank - 1));
    request.path = std::string(target.substr(0, target.find('?')));
    request.version = std::string(line.substr(last_blank + 1));
    if (request.method.empty() || request.path.empty() || request.version.rfind("HTTP/", 0) != 0) {
        return std::nullopt;
    }
    request.headers = HeaderFields(block);
    bool bad = false;
    size_t length = ContentLength(request.headers, bad).value_or(0);
    if (bad || raw.size() < *header_end + length) {
        return std::nullopt;
    }
    request.body = std::string(raw.substr(*header_end, length));
    return request;
}

std::optional<std::pair<std::string, std::string>> BasicCredentials(const HttpRequest& request) {
    std::optional<std::string> value = request.Header("Authorization");
    if (!value || value->size() < 6 || !EqualsIgnoreCase(value->substr(0, 6), "Basic ")) {
        return std::nullopt;
    }
    std::optional<std::string> decoded = DecodeBase64(Trim(std::string_view(*value).substr(6)));
    if (!decoded) {
        return std::nullopt;
    }
    size_t colon = decoded->find(':');
    if (colon == std::string::npos) {
        return std::nullopt;
    }
    return std::make_pair(decoded->substr(0, colon), decoded->substr(colon + 1));
}

std::map<std::string, std::string> DecodeForm(std::string_view body) {
    std::map<std::string, std::string> fields;
    while (!body.empty()) {
        size_t amp = body.find('&');
        std::string_view pair = body.substr(0, amp);
        size_t equals = pair.find('=');
        std::string name = DecodeFormText(pair.substr(0, equals));
        std::string value =
            equals == std::string_view::npos ? "" : DecodeFormText(pair.substr(equals + 1));
        if (!name.empty()) {
            fields.emplace(std::move(name), std::move(value));  // the first occurrence counts
        }
        if (amp == std::string_view::npos) {
            break;
        }
        body.remove_prefix(amp + 1);
    }
    return fields;
}

std::optional<std::string> DecodeBase64(std::string_view text) {
    std::string out;
    unsigned buffer = 0;
    int bits = 0;
    size_t padding = 0;
    for (char c : text) {
        int value;
        if (c >= 'A' && c <= 'Z') {
            value = c - 'A';
        } else if (c >= 'a' && c <= 'z') {
            value = c - 'a' + 26;
        } else if (c >= '0' && c <= '9') {
            value = c - '0' + 52;
        } else if (c == '+') {
            value = 62;
        } else if (c == '/') {
            value = 63;
        } else if (c == '=') {
            ++padding;
            continue;
        } else {
            return std::nullopt;
        }
        if (padding > 0) {
            return std::nullopt;  // data after padding
        }
        buffer = (buffer << 6) | static_cast<unsigned>(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((buffer >> bits) & 0xFF);
        }
    }
    if (padding > 2) {
        return std::nullopt;
    }
    return out;
}

}  // namespace quirn::sim
