// text_encoding.h: the router's EUC-JP page text to UTF-8, one received line at a time.
//
// Decoding is table-driven (euc_tables.h) and works on fixed buffers only: nothing here allocates,
// and nothing reads or writes outside the input text or the caller's buffer, whatever the bytes.
#pragma once

#include <cstdint>

namespace lumora {

// Size of the output buffer EucToUtf8 writes; the UTF-8 text must stay below it.
inline constexpr int kUtf8LineBufferSize = 4096;

// Negative results of EucToUtf8.
inline constexpr int kEucUndecodable = -1;  // a byte sequence is not a character of either set
inline constexpr int kEucUnencodable = -2;  // a decoded code point has no UTF-8 form
inline constexpr int kEucLineTooLong = -3;  // the UTF-8 text would reach kUtf8LineBufferSize

// One character read from EUC-JP text.
struct EucChar {
    int length;           // bytes consumed: 1, 2 or 3; 0 when the bytes are not a character
    uint32_t code_point;  // valid when length > 0; 0 for an unassigned cell of a present row
};

// Reads the character at `bytes`. Bytes below 0x80 stand for themselves; a lead byte 0xA1-0xFE
// starts a two-byte character and 0x8F a three-byte one. The top bit of trail bytes is ignored
// (0x22 reads like 0xA2). A trail byte that is 0 fails, so a zero-terminated text is never read
// past its terminator. Half-width katakana (0x8E) and other lead bytes 0x80-0xA0 and 0xFF fail.
EucChar DecodeEucChar(const char* bytes);

// Writes the UTF-8 form of `code_point` to `out` (room for 4 bytes) and returns its length,
// 1 to 4; returns 0 and writes nothing above U+10FFFF. Surrogate values are encoded as they are.
int EncodeUtf8(uint32_t code_point, char* out);

// Converts the zero-terminated EUC-JP text `euc` into `out`, a buffer of kUtf8LineBufferSize
// bytes, and returns the number of UTF-8 bytes written, or kEucUndecodable, kEucUnencodable or
// kEucLineTooLong. `out` is zero-terminated in every case and then holds each character converted
// before the failure. An unassigned cell of a present row is written as one zero byte, so
// zero-terminated readers see the text end there; the count includes that byte.
int EucToUtf8(const char* euc, char* out);

}  // namespace lumora
