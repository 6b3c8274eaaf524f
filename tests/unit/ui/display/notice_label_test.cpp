// The notice strip's model: the text for each notice number.
#include "ui/display/notice_label.h"

#include <gtest/gtest.h>

#include <string>

namespace quirn {
namespace {

TEST(NoticeLabel, ShowsTheTextOfTheNoticeNumber) {
    struct Case {
        int kind;
        int string_id;
        std::wstring text;
    };
    const Case cases[] = {
        {0, 115, L" "},
        {1, 116, L"取得中..."},
        {2, 117, L"新しいファームウェアがあります。"},
        {3, 118, L"最新の情報でない可能性があります。"},
        {4, 119, L"情報の取得に失敗しました。"},
        {5, 120, L"管理者パスワードが設定されていません。"},
        {6, 168, L"管理者パスワードが違います。"},
        {7, 121, L"再起動中..."},
        {8, 122, L"休止状態中"},
        {9, 123, L"切替中..."},
        {10, 154, L"接続確認中..."},
        {11, 144, L"再起動に失敗しました。"},
        {12, 146, L"休止状態に失敗しました。"},
        {13, 145, L"切替に失敗しました。"},
        {14, 155, L"接続確認に失敗しました。"},
        {15, 162, L"データ通信量の上限値を超えています。"},
        // Numbers without a notice show nothing.
        {-1, 0, L""},
        {16, 0, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "notice " << c.kind);
        EXPECT_EQ(NoticeStringId(c.kind), c.string_id);
        NoticeLabel label;
        label.SetNotice(c.kind);
        EXPECT_EQ(label.Text(), c.text);
    }
}

TEST(NoticeLabel, StartsEmptyAndShowsTheLatestNotice) {
    NoticeLabel label;
    EXPECT_EQ(label.Text(), L"");
    label.SetNotice(1);
    label.SetNotice(4);
    EXPECT_EQ(label.Text(), L"情報の取得に失敗しました。");
    label.SetNotice(99);
    EXPECT_EQ(label.Text(), L"");
}

}  // namespace
}  // namespace quirn
