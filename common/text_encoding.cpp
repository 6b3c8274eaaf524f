// text_encoding.cpp: EUC-JP to UTF-8 through the generated character tables.
#include "common/text_encoding.h"

#include "common/euc_tables.h"

namespace lumora {
namespace {

constexpr unsigned char kThreeByteLead = 0x8F;

// Index 0-93 of a JIS row or cell byte (top bit ignored), or -1 when the byte is no JIS code.
// A zero byte gives -1, which is what keeps decoding inside a zero-terminated text.
int JisIndex(unsigned char byte) {
    int index = (byte & 0x7F) - 0x21;
    return index >= 0 && index < kEucCellCount ? index : -1;
}

}  // namespace

EucChar DecodeEucChar(const char* bytes) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    if (b[0] < 0x80) {
        return {1, b[0]};
    }
    const uint16_t* const* rows = kEucTwoByteRows;
    int row_index;
    int length = 2;
    if (b[0] == kThreeByteLead) {
        rows = kEucThreeByteRows;
        length = 3;
        row_index = JisIndex(b[1]);  // a zero here stops before the third byte is read
    } else {
        // Leads 0x80-0xA0 (half-width katakana's 0x8E among them) and 0xFF give no JIS row.
        row_index = JisIndex(b[0]);
    }
    if (row_index < 0 || rows[row_index] == nullptr) {
        return {0, 0};
    }
    int cell_index = JisIndex(b[length - 1]);
    if (cell_index < 0) {
        return {0, 0};
    }
    return {length, rows[row_index][cell_index]};
}

int EncodeUtf8(uint32_t code_point, char* out) {
    auto* o = reinterpret_cast<unsigned char*>(out);
    if (code_point < 0x80) {
        o[0] = static_cast<unsigned char>(code_point);
        return 1;
    }
    if (code_point < 0x800) {
        o[0] = static_cast<unsigned char>(0xC0 | code_point >> 6);
        o[1] = static_cast<unsigned char>(0x80 | (code_point & 0x3F));
        return 2;
    }
    if (code_point < 0x10000) {
        o[0] = static_cast<unsigned char>(0xE0 | code_point >> 12);
        o[1] = static_cast<unsigned char>(0x80 | (code_point >> 6 & 0x3F));
        o[2] = static_cast<unsigned char>(0x80 | (code_point & 0x3F));
        return 3;
    }
    if (code_point <= 0x10FFFF) {
        o[0] = static_cast<unsigned char>(0xF0 | code_point >> 18);
        o[1] = static_cast<unsigned char>(0x80 | (code_point >> 12 & 0x3F));
        o[2] = static_cast<unsigned char>(0x80 | (code_point >> 6 & 0x3F));
        o[3] = static_cast<unsigned char>(0x80 | (code_point & 0x3F));
        return 4;
    }
    return 0;
}

int EucToUtf8(const char* euc, char* out) {
    out[0] = '\0';
    int total = 0;
    while (*euc != '\0') {
        EucChar c = DecodeEucChar(euc);
        if (c.length == 0) {
            return kEucUndecodable;
        }
        char encoded[4];
        int encoded_length = EncodeUtf8(c.code_point, encoded);
        if (encoded_length == 0) {
            return kEucUnencodable;
        }
        // The terminator needs the byte after the text, so the text must stay below the buffer.
        if (total + encoded_length >= kUtf8LineBufferSize) {
            return kEucLineTooLong;
        }
        for (int i = 0; i < encoded_length; ++i) {
            out[total + i] = encoded[i];
        }
        total += encoded_length;
        out[total] = '\0';
        euc += c.length;
    }
    return total;
}

}  // namespace lumora
