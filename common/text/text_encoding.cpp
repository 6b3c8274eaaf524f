// text_encoding.cpp: EUC-JP to UTF-8 through the generated character tables.
#include "common/text/text_encoding.h"

#include <array>
#include <bit>
#include <cstring>

#include "common/text/euc_tables.h"

namespace lumora {
namespace {

constexpr unsigned char kThreeByteLead = 0x8F;

// Index 0-93 of a JIS row or cell byte (top bit ignored), or -1 when the byte is no JIS code.
// A zero byte gives -1, which is what keeps decoding inside a zero-terminated text.
int JisIndex(unsigned char byte) {
    int index = (byte & 0x7F) - 0x21;
    return index >= 0 && index < kEucCellCount ? index : -1;
}

// The bodies of DecodeEucChar and EncodeUtf8, kept here so the line converter gets them inline.
EucChar Decode(const unsigned char* b) {
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

// Bytes of the UTF-8 form of `code_point`: 1 to 4, or 0 above U+10FFFF.
int Utf8Length(uint32_t code_point) {
    return code_point < 0x80        ? 1
           : code_point < 0x800     ? 2
           : code_point < 0x10000   ? 3
           : code_point <= 0x10FFFF ? 4
                                    : 0;
}

int Encode(uint32_t code_point, unsigned char* o) {
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

// The UTF-8 form of every two-byte character whose bytes are both 0xA1 to 0xFE, the bulk of
// Japanese text: in memory order its up to three bytes, then their count; 0 for a cell that
// is not a character.
class TwoByteUtf8 {
  public:
    TwoByteUtf8() {
        row_start_.fill(-1);
        cell_.fill(-1);
        for (int i = 0; i < kEucRowCount; ++i) {
            row_start_[0xA1 + i] = static_cast<int16_t>(i * kEucCellCount);
            cell_[0xA1 + i] = static_cast<int8_t>(i);
        }
        for (int row = 0; row < kEucRowCount; ++row) {
            for (int cell = 0; cell < kEucCellCount; ++cell) {
                const unsigned char bytes[] = {static_cast<unsigned char>(0xA1 + row),
                                               static_cast<unsigned char>(0xA1 + cell), 0};
                const EucChar c = Decode(bytes);
                unsigned char utf8[4] = {};
                const int length = c.length == 2 ? Encode(c.code_point, utf8) : 0;
                utf8[3] = static_cast<unsigned char>(length);
                std::memcpy(&entries_[row * kEucCellCount + cell], utf8, 4);
            }
        }
    }
    // The entry of `b[0]`, `b[1]`, or 0 when either byte lies outside 0xA1 to 0xFE. The second
    // byte is read only after a lead, so the text's terminator is never passed.
    uint32_t At(const unsigned char* b) const {
        const int row_start = row_start_[b[0]];
        if (row_start < 0) {
            return 0;
        }
        const int cell = cell_[b[1]];
        return cell < 0 ? 0 : entries_[static_cast<unsigned>(row_start + cell)];
    }

    // The count of bytes an entry holds.
    static int Length(uint32_t entry) {
        if constexpr (std::endian::native == std::endian::little) {
            return static_cast<int>(entry >> 24);
        } else {
            return static_cast<int>(entry & 0xFF);
        }
    }

  private:
    // Per byte: where its row starts when it leads, its cell when it trails; -1 otherwise.
    std::array<int16_t, 256> row_start_{};
    std::array<int8_t, 256> cell_{};
    std::array<uint32_t, kEucRowCount * kEucCellCount> entries_{};
};

const TwoByteUtf8& TwoByteTable() {
    static const TwoByteUtf8 table;  // built once, on the first line; thread-safe
    return table;
}

}  // namespace

EucChar DecodeEucChar(const char* bytes) {
    return Decode(reinterpret_cast<const unsigned char*>(bytes));
}

int EncodeUtf8(uint32_t code_point, char* out) {
    return Encode(code_point, reinterpret_cast<unsigned char*>(out));
}

int EucToUtf8(const char* euc, char* out) {
    const auto* in = reinterpret_cast<const unsigned char*>(euc);
    const TwoByteUtf8& two_byte = TwoByteTable();
    int total = 0;
    int result = 0;
    for (;;) {
        // A run of two-byte characters goes through one table, four bytes written at a time,
        // two characters a round; near the buffer's end, and for every other character, the
        // general path below. (A lookup reads past a character only when that character was
        // one, so never past the text's terminator.)
        while (total + 8 < kUtf8LineBufferSize) {
            const uint32_t first = two_byte.At(in);
            if (first == 0) {
                break;
            }
            const uint32_t second = two_byte.At(in + 2);
            std::memcpy(out + total, &first, 4);
            total += TwoByteUtf8::Length(first);
            in += 2;
            if (second == 0) {
                break;
            }
            std::memcpy(out + total, &second, 4);
            total += TwoByteUtf8::Length(second);
            in += 2;
        }
        // Most of a page is ASCII markup, which stands for itself: such a run (bytes 0x01 to
        // 0x7F) is copied whole. The terminator needs the byte after the text, so the text must
        // stay below the buffer; a run that does not fit is copied as far as it fits.
        if (static_cast<unsigned char>(*in - 1) < 0x7F) {
            const unsigned char* run = in;
            while (static_cast<unsigned char>(*in - 1) < 0x7F) {
                ++in;
            }
            const int run_length = static_cast<int>(in - run);
            const int room = kUtf8LineBufferSize - 1 - total;
            if (run_length > room) {
                std::memcpy(out + total, run, static_cast<std::size_t>(room));
                total += room;
                result = kEucLineTooLong;
                break;
            }
            std::memcpy(out + total, run, static_cast<std::size_t>(run_length));
            total += run_length;
        }
        if (*in == 0) {
            result = total;
            break;
        }
        const EucChar c = Decode(in);
        if (c.length == 0) {
            result = kEucUndecodable;
            break;
        }
        const int encoded_length = Utf8Length(c.code_point);
        if (encoded_length == 0) {
            result = kEucUnencodable;
            break;
        }
        if (total + encoded_length >= kUtf8LineBufferSize) {
            result = kEucLineTooLong;
            break;
        }
        total += Encode(c.code_point, reinterpret_cast<unsigned char*>(out + total));
        in += c.length;
    }
    // Every character converted before a failure stays, terminated.
    out[total] = '\0';
    return result;
}

}  // namespace lumora
