// fuzz_euc.cpp: EucToUtf8 on arbitrary bytes.
//
// Checks: the result is a length below the buffer or one of the three failures; the output is
// zero-terminated inside its buffer in every case; a success is exactly the characters
// DecodeEucChar reads one after another, each written as EncodeUtf8 writes it; and nothing is
// read past the input's terminator or written past the buffer (the buffers have their exact
// sizes, for the sanitizers).
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "common/text/text_encoding.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The converter takes a zero-terminated text: the input up to its first zero byte.
    const std::size_t length = strnlen(reinterpret_cast<const char*>(data), size);
    auto euc = std::make_unique<char[]>(length + 1);
    std::memcpy(euc.get(), data, length);
    euc[length] = '\0';
    auto out = std::make_unique<char[]>(lumora::kUtf8LineBufferSize);
    std::memset(out.get(), 0x7F, lumora::kUtf8LineBufferSize);

    const int result = lumora::EucToUtf8(euc.get(), out.get());
    FUZZ_CHECK(result >= lumora::kEucLineTooLong && result < lumora::kUtf8LineBufferSize);
    FUZZ_CHECK(std::memchr(out.get(), '\0', lumora::kUtf8LineBufferSize) != nullptr);

    // The same conversion, character by character.
    std::string expected;
    int expected_result = 0;
    for (std::size_t i = 0; i < length;) {
        const lumora::EucChar c = lumora::DecodeEucChar(euc.get() + i);
        if (c.length == 0) {
            expected_result = lumora::kEucUndecodable;
            break;
        }
        FUZZ_CHECK(i + static_cast<std::size_t>(c.length) <= length);
        char encoded[4];
        const int encoded_length = lumora::EncodeUtf8(c.code_point, encoded);
        if (encoded_length == 0) {
            expected_result = lumora::kEucUnencodable;
            break;
        }
        if (expected.size() + encoded_length >= lumora::kUtf8LineBufferSize) {
            expected_result = lumora::kEucLineTooLong;
            break;
        }
        expected.append(encoded, encoded_length);
        i += c.length;
    }
    if (expected_result == 0) {
        expected_result = static_cast<int>(expected.size());
    }
    FUZZ_CHECK(result == expected_result);
    // Whatever the result, the buffer holds every character converted before it ended.
    FUZZ_CHECK(std::memcmp(out.get(), expected.data(), expected.size()) == 0);
    FUZZ_CHECK(out[expected.size()] == '\0');
    return 0;
}
