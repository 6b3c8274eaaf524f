// base64.h: the standard Base64 codec (alphabet A-Z a-z 0-9 + /, "=" padding, no line breaks),
// used for HTTP Basic credentials and the stored administrator password.
#pragma once

#include <cstddef>
#include <string>

namespace lumora {

// Encodes `length` bytes at `bytes` as 4 characters for every started group of 3 bytes, padded
// with "=". No bytes give an empty text. `bytes` may be null when `length` is 0.
std::string Base64Encode(const void* bytes, std::size_t length);

// Decodes the `length` characters at `text` (no terminator needed), 3 bytes for every group of 4
// characters. Any byte outside the alphabet, "=" included and wherever it stands, counts as zero
// bits; a short last group counts as if padded with "=". The result ends with the last byte that
// holds bits of a character before the trailing "=" run, so "QQ==" and "QQ" both give "A".
// Every input is accepted and nothing outside `text` is read.
std::string Base64Decode(const char* text, std::size_t length);

}  // namespace lumora
