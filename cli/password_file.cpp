// password_file.cpp: the first line of a password file or of standard input.
#include "cli/password_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include "cli/command.h"
#include "common/text/code_page.h"
#include "state/admin_password.h"

namespace quirnctl {
namespace {

// Holds the password to the rule the window's settings dialog uses, before anything is sent.
void RequireFittingPassword(const std::string& password, const std::string& path) {
    std::optional<std::wstring> wide;
    try {
        wide = lumora::NarrowToWide(password.c_str(), lumora::kCodePageUtf8);
    } catch (const lumora::ConversionError&) {
        throw UsageError("the password in " + path + " is not UTF-8 text");
    }
    switch (quirn::CheckAdminPassword(wide->c_str())) {
        case quirn::AdminPasswordFit::kFits:
            return;
        case quirn::AdminPasswordFit::kNotInCodePage:
            throw UsageError("the password in " + path +
                             " holds a character that code page 932 cannot store");
        default:
            throw UsageError("the password in " + path + " is too long: " +
                             quirn::AdminPasswordLimitsText());
    }
}

}  // namespace

std::string ReadPasswordFile(const std::string& path) {
    const bool from_stdin = path == "-";
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> owned(
        from_stdin ? nullptr : std::fopen(path.c_str(), "rb"), &std::fclose);
    std::FILE* file = from_stdin ? stdin : owned.get();
    if (file == nullptr) {
        throw UsageError("cannot read password file " + path + ": " + std::strerror(errno));
    }
    std::string line;
    for (int c = std::getc(file); c != EOF && c != '\n'; c = std::getc(file)) {
        line.push_back(static_cast<char>(c));
    }
    if (std::ferror(file)) {
        throw UsageError("cannot read password file " + path);
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    // The library passes the password on as C text; a zero byte would cut it silently.
    if (line.find('\0') != std::string::npos) {
        throw UsageError("the password in " + path + " holds a zero byte");
    }
    RequireFittingPassword(line, path);
    return line;
}

}  // namespace quirnctl
