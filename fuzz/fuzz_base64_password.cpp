// fuzz_base64_password.cpp: Base64Decode and the stored-password codec on arbitrary input.
//
// Checks: Base64Decode accepts anything, reads only its input and gives 6 bits for every
// character before the trailing "=" run, whole bytes only; encoding and decoding give the bytes
// back. DecodeStoredPassword on any wide text gives at most 64 bytes and a text that stores
// again and decodes to itself; EncodeStoredPassword of any text either refuses it with a
// documented code or stores a form that decodes to the same text.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "common/text/base64.h"
#include "fuzz/fuzz_check.h"
#include "state/stored_password.h"

namespace {

void CheckBase64(const std::uint8_t* data, std::size_t size) {
    auto text = std::make_unique<char[]>(size);  // exactly the input, no terminator
    std::memcpy(text.get(), data, size);
    const std::string decoded = lumora::Base64Decode(text.get(), size);
    std::size_t data_length = size;
    while (data_length > 0 && text[data_length - 1] == '=') {
        --data_length;
    }
    FUZZ_CHECK(decoded.size() == data_length * 6 / 8);

    const std::string encoded = lumora::Base64Encode(data, size);
    FUZZ_CHECK(encoded.size() == (size + 2) / 3 * 4);
    FUZZ_CHECK(lumora::Base64Decode(encoded.data(), encoded.size()) ==
               std::string(reinterpret_cast<const char*>(data), size));
}

// Wide text from the input, two bytes a character so that every code unit value below 0x10000
// can occur; ends at the first zero character.
std::wstring WideText(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const wchar_t c = static_cast<wchar_t>(data[i] | data[i + 1] << 8);
        if (c == 0) {
            break;
        }
        text.push_back(c);
    }
    return text;
}

void CheckStoredPassword(const std::uint8_t* data, std::size_t size) {
    const std::wstring stored = WideText(data, size);
    const quirn::DecodedPassword decoded = quirn::DecodeStoredPassword(stored.c_str());
    FUZZ_CHECK(decoded.length >= 0 && decoded.length <= quirn::kMaxStoredPasswordBytes);
    FUZZ_CHECK(decoded.plain.size() <= static_cast<std::size_t>(decoded.length));
    FUZZ_CHECK(decoded.plain.find(L'\0') == std::wstring::npos);
    if (!decoded.plain.empty()) {
        const quirn::EncodedPassword again = quirn::EncodeStoredPassword(decoded.plain.c_str());
        FUZZ_CHECK(again.result >= 0);
        FUZZ_CHECK(quirn::DecodeStoredPassword(again.stored.c_str()).plain == decoded.plain);
    }

    // The same input as a password the user typed.
    const quirn::EncodedPassword encoded = quirn::EncodeStoredPassword(stored.c_str());
    FUZZ_CHECK(encoded.result >= -3 && encoded.result != -1);
    if (encoded.result >= 0) {
        FUZZ_CHECK(encoded.result == static_cast<int>(encoded.stored.size()));
        FUZZ_CHECK(quirn::DecodeStoredPassword(encoded.stored.c_str()).plain == stored);
    } else {
        FUZZ_CHECK(encoded.stored.empty());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckBase64(data, size);
    CheckStoredPassword(data, size);
    return 0;
}
