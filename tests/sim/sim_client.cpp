// sim_client.cpp: sockets, request texts and page reading for the simulator's tests.
#include "tests/sim/sim_client.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <iconv.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <regex>

namespace quirn::sim::testing {
namespace {

int ConnectedSocket(uint16_t port, std::chrono::milliseconds timeout, ConnectOutcome& outcome) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    outcome = ConnectOutcome::kConnected;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        if (errno != EINPROGRESS) {
            outcome = ConnectOutcome::kRefused;
            close(fd);
            return -1;
        }
        pollfd entry{fd, POLLOUT, 0};
        if (poll(&entry, 1, static_cast<int>(timeout.count())) <= 0) {
            outcome = ConnectOutcome::kTimedOut;
            close(fd);
            return -1;
        }
        int error = 0;
        socklen_t length = sizeof error;
        getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length);
        if (error != 0) {
            outcome = ConnectOutcome::kRefused;
            close(fd);
            return -1;
        }
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::string Credentials(std::string_view user, std::string_view password) {
    return Base64(std::string(user) + ":" + std::string(password));
}

}  // namespace

Exchanged Exchange(uint16_t port, std::string_view request, std::chrono::milliseconds timeout) {
    Exchanged result;
    ConnectOutcome outcome;
    int fd = ConnectedSocket(port, 3000ms, outcome);
    if (fd < 0) {
        return result;
    }
    result.connected = true;
    send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    char buffer[65536];
    while (true) {
        pollfd entry{fd, POLLIN, 0};
        if (poll(&entry, 1, static_cast<int>(timeout.count())) <= 0) {
            result.timed_out = true;
            break;
        }
        ssize_t got = recv(fd, buffer, sizeof buffer, 0);
        if (got < 0) {
            result.reset = errno == ECONNRESET;
            break;
        }
        if (got == 0) {
            break;
        }
        result.bytes.append(buffer, static_cast<size_t>(got));
    }
    close(fd);
    return result;
}

std::string FirstRead(uint16_t port, std::string_view request) {
    ConnectOutcome outcome;
    int fd = ConnectedSocket(port, 3000ms, outcome);
    if (fd < 0) {
        return "";
    }
    send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    char buffer[4096];
    std::string first;
    pollfd entry{fd, POLLIN, 0};
    if (poll(&entry, 1, 5000) > 0) {
        ssize_t got = recv(fd, buffer, sizeof buffer, 0);
        if (got > 0) {
            first.assign(buffer, static_cast<size_t>(got));
        }
    }
    close(fd);
    return first;
}

ConnectOutcome TryConnect(uint16_t port, std::chrono::milliseconds timeout) {
    ConnectOutcome outcome;
    int fd = ConnectedSocket(port, timeout, outcome);
    if (fd >= 0) {
        close(fd);
    }
    return outcome;
}

std::string GetRequest(std::string_view path) {
    return "GET " + std::string(path) + " HTTP/1.0\r\nConnection: Keep-Alive\r\n\r\n";
}

std::string GetRequest(std::string_view path, std::string_view user, std::string_view password) {
    return "GET " + std::string(path) + " HTTP/1.0\r\nConnection: Keep-Alive\r\n" +
           "Authorization: Basic " + Credentials(user, password) + "\r\n\r\n";
}

std::string CommandRequest(std::string_view path, std::string_view user, std::string_view password,
                           std::string_view token) {
    std::string body = "DISABLED_CHECKBOX=&CHECK_ACTION_MODE=1&SESSION_ID=" + std::string(token);
    return "POST " + std::string(path) + " HTTP/1.1\r\nHOST: quirn.home.arpa\r\n" +
           "Connection: keep-alive\r\nAuthorization: Basic " + Credentials(user, password) +
           "\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\n\r\n" + body + "\r\n\r\n";
}

std::string PasswordRequest(std::string_view password, std::string_view retry,
                            std::string_view token) {
    std::string body = "INIT_PASSWD=" + FormEncode(password) +
                       "&INIT_RETRY_PASSWD=" + FormEncode(retry) +
                       "&DISABLED_CHECKBOX=&CHECK_ACTION_MODE=1&SESSION_ID=" + std::string(token);
    return "POST /index.cgi/wizard_password_set HTTP/1.1\r\nHOST: quirn.home.arpa\r\n"
           "Connection: keep-alive\r\nContent-Length: " +
           std::to_string(body.size()) +
           "\r\nContent-Type: application/x-www-form-urlencoded\r\n\r\n" + body;
}

std::string Base64(std::string_view bytes) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        unsigned group = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size())
            group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size())
            group |= static_cast<unsigned char>(bytes[i + 2]);
        out += kAlphabet[(group >> 18) & 63];
        out += kAlphabet[(group >> 12) & 63];
        out += i + 1 < bytes.size() ? kAlphabet[(group >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? kAlphabet[group & 63] : '=';
    }
    return out;
}

std::string FormEncode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '*') {
            out += static_cast<char>(c);
        } else if (c == ' ') {
            out += '+';
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

int StatusCode(std::string_view response) {
    if (response.rfind("HTTP/1.1 ", 0) != 0 || response.size() < 12) {
        return -1;
    }
    return std::stoi(std::string(response.substr(9, 3)));
}

std::string HeaderBlock(std::string_view response) {
    return std::string(response.substr(0, response.find("\r\n\r\n")));
}

std::string Body(std::string_view response) {
    size_t end = response.find("\r\n\r\n");
    return end == std::string_view::npos ? "" : std::string(response.substr(end + 4));
}

std::optional<std::string> EucToUtf8(std::string_view euc) {
    iconv_t cd = iconv_open("UTF-8", "EUC-JP");
    std::string out(euc.size() * 3 + 8, '\0');
    char* in_ptr = const_cast<char*>(euc.data());
    size_t in_left = euc.size();
    char* out_ptr = out.data();
    size_t out_left = out.size();
    size_t done = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
    iconv_close(cd);
    if (done == static_cast<size_t>(-1)) {
        return std::nullopt;
    }
    out.resize(out.size() - out_left);
    return out;
}

std::map<std::string, std::string> StatusItems(std::string_view page) {
    static const std::regex kHeading("<h2>([^<(]*)[^<]*</h2>");
    static const std::regex kRow(
        "<td class=\"small_item_td\">([^<]*)</td><td class=\"small_item_td2\">([^<]*)</td>");
    std::map<std::string, std::string> items;
    std::string heading;
    std::string text(page);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? end : end - start);
        std::smatch match;
        if (std::regex_search(line, match, kHeading)) {
            heading = match[1];
        } else if (std::regex_search(line, match, kRow)) {
            items[heading + match[1].str()] = match[2];
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return items;
}

std::optional<std::string> PageTitle(std::string_view page) {
    static const std::regex kTitle("<title>([^<]*)</title>");
    std::string text(page);
    std::smatch match;
    if (!std::regex_search(text, match, kTitle)) {
        return std::nullopt;
    }
    return match[1];
}

std::optional<std::string> PageToken(std::string_view page) {
    static const std::regex kToken(
        "<input type=\"hidden\" id=\"SESSION_ID\" name=\"SESSION_ID\" value=\"([^\"]*)\">");
    std::string text(page);
    std::smatch match;
    if (!std::regex_search(text, match, kToken)) {
        return std::nullopt;
    }
    return match[1];
}

}  // namespace quirn::sim::testing
