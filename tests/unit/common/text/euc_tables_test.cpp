#include "common/text/euc_tables.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>

#include "common/text/code_page.h"

namespace lumora {
namespace {

uint16_t Cell(const uint16_t* const* rows, int jis) {
    const uint16_t* row = rows[(jis >> 8) - 0x21];
    return row == nullptr ? 0 : row[(jis & 0xFF) - 0x21];
}

struct SetFacts {
    const char* name;
    const uint16_t* const* rows;
    int assigned;
    std::set<int> absent_rows;
};

TEST(EucTables, RowsAndAssignedCellsOfBothSets) {
    std::set<int> three_byte_absent = {0x21, 0x23, 0x24, 0x25, 0x28, 0x2C, 0x2D, 0x2E, 0x2F};
    for (int row = 0x6E; row <= 0x72; ++row) {
        three_byte_absent.insert(row);
    }
    for (int row = 0x75; row <= 0x7E; ++row) {
        three_byte_absent.insert(row);
    }
    const SetFacts sets[] = {
        {"two-byte", kEucTwoByteRows, 7559, {0x76, 0x77, 0x78, 0x7D, 0x7E}},
        {"three-byte", kEucThreeByteRows, 6173, three_byte_absent},
    };
    for (const SetFacts& set : sets) {
        SCOPED_TRACE(set.name);
        int assigned = 0;
        for (int row = 0x21; row <= 0x7E; ++row) {
            const uint16_t* cells = set.rows[row - 0x21];
            EXPECT_EQ(cells == nullptr, set.absent_rows.count(row) == 1) << std::hex << row;
            if (cells == nullptr) {
                continue;
            }
            int in_row = 0;
            for (int cell = 0; cell < kEucCellCount; ++cell) {
                in_row += cells[cell] != 0;
                EXPECT_FALSE(cells[cell] >= 0xD800 && cells[cell] <= 0xDFFF);
            }
            EXPECT_GT(in_row, 0) << "present row without cells " << std::hex << row;
            assigned += in_row;
        }
        EXPECT_EQ(assigned, set.assigned);
    }
}

struct SampleCell {
    bool three_byte;
    int jis;
    uint16_t unicode;
};

TEST(EucTables, SampleCells) {
    const SampleCell samples[] = {
        // Code page 932's choices for the ambiguous symbols.
        {false, 0x2141, 0xFF5E},
        {false, 0x2142, 0x2225},
        {false, 0x215D, 0xFF0D},
        {false, 0x2171, 0xFFE0},
        {false, 0x2172, 0xFFE1},
        {false, 0x224C, 0xFFE2},
        {false, 0x2422, 0x3042},
        {false, 0x2D21, 0x2460},  // vendor row 0x2D
        {false, 0x7921, 0x7E8A},  // first IBM extension kanji
        // Cells code page 932 leaves empty.
        {false, 0x2921, 0x2460},
        {false, 0x2934, 0x2473},
        {false, 0x2A21, 0x2160},
        {false, 0x2A2C, 0x216B},
        {false, 0x2C21, 0x2664},
        {false, 0x2E21, 0x3349},
        {false, 0x2F49, 0x3094},
        {false, 0x7532, 0xFE33},
        {false, 0x7545, 0xFE30},
        {false, 0x2D7E, 0x3299},
        // Three-byte set.
        {true, 0x2237, 0xFF5E},
        {true, 0x2243, 0xFFE4},
        {true, 0x7373, 0x2170},
        {true, 0x737C, 0x2179},
        {true, 0x737D, 0x2160},
        {true, 0x7428, 0x2169},
        {true, 0x7429, 0xFF07},
        {true, 0x742A, 0xFF02},
        {true, 0x742B, 0x3231},
        {true, 0x742C, 0x2116},
        {true, 0x742D, 0x2121},
        {true, 0x742E, 0x70BB},
        {true, 0x747E, 0x9ED1},
        {true, 0x7372, 0},
    };
    for (const SampleCell& s : samples) {
        EXPECT_EQ(Cell(s.three_byte ? kEucThreeByteRows : kEucTwoByteRows, s.jis), s.unicode)
            << (s.three_byte ? "8F " : "") << std::hex << s.jis;
    }
}

// Consecutive cells holding consecutive code points, each run checked whole.
TEST(EucTables, ConsecutiveRuns) {
    struct Run {
        bool three_byte;
        int first_jis;
        int count;
        uint16_t first_unicode;
    };
    const Run runs[] = {
        {false, 0x2921, 20, 0x2460},  // circled 1-20
        {false, 0x2A21, 12, 0x2160},  // Roman numerals I-XII
        {true, 0x7373, 10, 0x2170},   // small Roman numerals
    };
    for (const Run& run : runs) {
        for (int i = 0; i < run.count; ++i) {
            EXPECT_EQ(Cell(run.three_byte ? kEucThreeByteRows : kEucTwoByteRows, run.first_jis + i),
                      run.first_unicode + i)
                << std::hex << run.first_jis + i;
        }
    }
    // Capital Roman numerals cross from row 0x73 into row 0x74.
    const int capitals[] = {0x737D, 0x737E, 0x7421, 0x7422, 0x7423,
                            0x7424, 0x7425, 0x7426, 0x7427, 0x7428};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(Cell(kEucThreeByteRows, capitals[i]), 0x2160 + i) << std::hex << capitals[i];
    }
}

// Every two-byte cell that code page 932 defines must carry code page 932's character for the
// same JIS cell; the other assigned cells are the extension rows, and 0x2D7E.
TEST(EucTables, TwoByteSetAgreesWithCodePage932) {
    int defined = 0;
    for (int row = 0x21; row <= 0x7E; ++row) {
        for (int cell = 0x21; cell <= 0x7E; ++cell) {
            // The standard JIS to Shift_JIS transformation.
            int lead = (row + 1) / 2 + (row <= 0x5E ? 0x70 : 0xB0);
            int trail = row % 2 == 1 ? cell + (cell <= 0x5F ? 0x1F : 0x20) : cell + 0x7E;
            const char sjis[] = {static_cast<char>(lead), static_cast<char>(trail), '\0'};
            std::wstring wide;
            try {
                wide = NarrowToWide(sjis, kCodePageCp932).value();
            } catch (const ConversionError&) {
                continue;  // not a code page 932 character
            }
            ASSERT_EQ(wide.size(), 1u) << std::hex << row << cell;
            ++defined;
            EXPECT_EQ(Cell(kEucTwoByteRows, row << 8 | cell), static_cast<uint16_t>(wide[0]))
                << std::hex << (row << 8 | cell);
        }
    }
    EXPECT_EQ(defined, 7336);
}

}  // namespace
}  // namespace lumora
