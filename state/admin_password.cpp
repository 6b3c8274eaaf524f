#include "state/admin_password.h"

#include <optional>
#include <string>

#include "common/net/http_request.h"
#include "common/text/code_page.h"
#include "state/stored_password.h"

namespace quirn {
namespace {

// Base64 turns each 3 bytes into 4 characters, so the log-in's characters hold this many bytes.
constexpr int kCredentialBytes = lumora::kCredentialsLimit / 4 * 3;
constexpr int kAdminPrefixBytes = static_cast<int>(sizeof lumora::kAdminUser);  // "admin:"
static_assert(kCredentialBytes - kAdminPrefixBytes == kMaxAdminPasswordUtf8Bytes);

// The byte count of `password` in `code_page`; nullopt when a character has no form there.
std::optional<std::size_t> ByteCount(const wchar_t* password, unsigned code_page) {
    try {
        return lumora::WideToNarrow(password, code_page)->size();
    } catch (const lumora::ConversionError&) {
        return std::nullopt;
    }
}

}  // namespace

AdminPasswordFit CheckAdminPassword(const wchar_t* password) {
    if (password == nullptr) {
        return AdminPasswordFit::kMissing;
    }
    const std::optional<std::size_t> stored = ByteCount(password, lumora::kCodePageThreadAnsi);
    if (!stored) {
        return AdminPasswordFit::kNotInCodePage;
    }
    if (*stored > static_cast<std::size_t>(kMaxStoredPasswordBytes)) {
        return AdminPasswordFit::kStoredFormTooLong;
    }
    const std::optional<std::size_t> utf8 = ByteCount(password, lumora::kCodePageUtf8);
    if (!utf8) {
        return AdminPasswordFit::kNotInCodePage;
    }
    if (*utf8 > static_cast<std::size_t>(kMaxAdminPasswordUtf8Bytes)) {
        return AdminPasswordFit::kLogInTooLong;
    }
    return AdminPasswordFit::kFits;
}

const char* AdminPasswordLimitsText() {
    return "at most 64 bytes in code page 932 and 66 bytes in UTF-8";
}

}  // namespace quirn
