// base64.cpp: the standard Base64 codec.
#include "common/text/base64.h"

#include <array>
#include <cstdint>

namespace lumora {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Sextet value of every byte; bytes outside the alphabet ("=" too) are worth zero bits.
constexpr std::array<unsigned char, 256> kSextets = [] {
    std::array<unsigned char, 256> sextets{};
    for (unsigned char i = 0; i < 64; ++i) {
        sextets[static_cast<unsigned char>(kAlphabet[i])] = i;
    }
    return sextets;
}();

}  // namespace

std::string Base64Encode(const void* bytes, std::size_t length) {
    const auto* in = static_cast<const unsigned char*>(bytes);
    std::string text;
    text.reserve((length + 2) / 3 * 4);
    for (std::size_t i = 0; i < length; i += 3) {
        std::size_t left = length - i;
        uint32_t group = static_cast<uint32_t>(in[i]) << 16;
        if (left > 1) {
            group |= static_cast<uint32_t>(in[i + 1]) << 8;
        }
        if (left > 2) {
            group |= in[i + 2];
        }
        text += kAlphabet[group >> 18 & 0x3F];
        text += kAlphabet[group >> 12 & 0x3F];
        text += left > 1 ? kAlphabet[group >> 6 & 0x3F] : '=';
        text += left > 2 ? kAlphabet[group & 0x3F] : '=';
    }
    return text;
}

std::string Base64Decode(const char* text, std::size_t length) {
    // Only characters before the trailing "=" run carry data; 6 bits each, whole bytes kept.
    std::size_t data_length = length;
    while (data_length > 0 && text[data_length - 1] == '=') {
        --data_length;
    }
    std::string bytes;
    bytes.reserve(data_length * 6 / 8);
    uint32_t bits = 0;
    int bit_count = 0;
    for (std::size_t i = 0; i < data_length; ++i) {
        bits = (bits << 6 | kSextets[static_cast<unsigned char>(text[i])]) & 0xFFFFFF;
        bit_count += 6;
        if (bit_count >= 8) {
            bit_count -= 8;
            bytes += static_cast<char>(bits >> bit_count & 0xFF);
        }
    }
    return bytes;
}

}  // namespace lumora
