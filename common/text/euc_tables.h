// euc_tables.h: the EUC-JP to Unicode character tables, constant data generated into
// euc_tables.cpp by tools/gen_euc_tables.py from data/.
#pragma once

#include <cstdint>

namespace lumora {

// Rows and cells both run over the JIS codes 0x21 to 0x7E.
inline constexpr int kEucRowCount = 94;
inline constexpr int kEucCellCount = 94;

// Row pointers indexed by JIS row - 0x21; null for a row without characters. A row holds the
// Unicode value of each cell, indexed by JIS cell - 0x21, or 0 for an unassigned cell.
// Two-byte set (lead bytes 0xA1-0xFE): JIS X 0208 with vendor extensions.
extern const uint16_t* const kEucTwoByteRows[kEucRowCount];
// Three-byte set (after 0x8F): JIS X 0212 with IBM extensions.
extern const uint16_t* const kEucThreeByteRows[kEucRowCount];

}  // namespace lumora
