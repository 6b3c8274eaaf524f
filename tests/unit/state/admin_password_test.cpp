// The administrator-password rule at both of its limits: stored bytes and the log-in's bytes.
#include "state/admin_password.h"

#include <gtest/gtest.h>

#include <string>

namespace quirn {
namespace {

std::wstring Repeat(wchar_t c, int count) {
    return std::wstring(static_cast<std::size_t>(count), c);
}

TEST(AdminPassword, FitsOnlyWithinBothLimits) {
    struct Case {
        const char* name;
        std::wstring password;
        AdminPasswordFit fit;
    } cases[] = {
        {"empty", L"", AdminPasswordFit::kFits},
        {"64 ASCII", Repeat(L'a', 64), AdminPasswordFit::kFits},
        {"65 ASCII", Repeat(L'a', 65), AdminPasswordFit::kStoredFormTooLong},
        // A kanji: two bytes stored, three in UTF-8.
        {"22 kanji: 44 stored, 66 UTF-8", Repeat(L'漢', 22), AdminPasswordFit::kFits},
        {"23 kanji: 46 stored, 69 UTF-8", Repeat(L'漢', 23), AdminPasswordFit::kLogInTooLong},
        {"32 kanji: 64 stored, 96 UTF-8", Repeat(L'漢', 32), AdminPasswordFit::kLogInTooLong},
        {"33 kanji: 66 stored", Repeat(L'漢', 33), AdminPasswordFit::kStoredFormTooLong},
        // Half-width kana: one byte stored, three in UTF-8.
        {"22 kana", Repeat(L'ｱ', 22), AdminPasswordFit::kFits},
        {"23 kana", Repeat(L'ｱ', 23), AdminPasswordFit::kLogInTooLong},
        {"63 ASCII and a kanji: 65 stored", Repeat(L'a', 63) + L"漢",
         AdminPasswordFit::kStoredFormTooLong},
        {"not in the code page", L"caf\u00e9", AdminPasswordFit::kNotInCodePage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CheckAdminPassword(c.password.c_str()), c.fit);
    }
    EXPECT_EQ(CheckAdminPassword(nullptr), AdminPasswordFit::kMissing);
}

}  // namespace
}  // namespace quirn
