// strings.h: the string-table texts the code uses, listed once so that the resource script and
// the C++ code share one copy.
//
// QUIRN_STRING_TABLE(STRING) expands STRING(id, name, text) for every entry; `text` is a narrow
// UTF-8 literal. The resource script can expand the same list into its string table.
// A double quote inside a text is written \042: the resource compiler warns about \".
#pragma once

#include "version.h"

// clang-format off
#define QUIRN_STRING_TABLE(STRING)                                              \
    STRING(101, kAboutMenuText, "バージョン情報(&A)...") \
    STRING(102, kFirmwareVersionLineText, "ファームウェアバージョン： %s") \
    STRING(103, kWanAddressLineText, "WAN側IPアドレス： %s") \
    STRING(104, kBatteryNoInfoText, "??%") \
    STRING(105, kBatteryUnknownText, "不明") \
    STRING(106, kChargingText, "充電中") \
    STRING(107, kBatteryPercentText, "%3d%%") \
    STRING(108, kFirmwarePromptText, "新しいファームウェアがあります。\nソルミナを表示しますか？") \
    STRING(109, kRouterPageFailedText, "ソルミナを表示できませんでした。") \
    STRING(110, kRebootConfirmText, "再起動を実行しますか？") \
    STRING(111, kStandbyConfirmText, "休止状態に移行して、アプリケーションを終了します。実行しますか？") \
    STRING(112, kExitConfirmText, "アプリケーションを終了しますか？") \
    STRING(113, kHelpFailedText, "オンラインヘルプを表示できませんでした。") \
    STRING(114, kSocketInitFailedText, "Windows ソケットの初期化に失敗しました。") \
    STRING(115, kNoticeBlankText, " ") \
    STRING(116, kNoticeFetchingText, "取得中...") \
    STRING(117, kNoticeFirmwareText, "新しいファームウェアがあります。") \
    STRING(118, kNoticeStaleText, "最新の情報でない可能性があります。") \
    STRING(119, kNoticeFetchFailedText, "情報の取得に失敗しました。") \
    STRING(120, kNoticeNoAdminPasswordText, "管理者パスワードが設定されていません。") \
    STRING(121, kNoticeRebootingText, "再起動中...") \
    STRING(122, kNoticeStandbyText, "休止状態中") \
    STRING(123, kNoticeSwitchingText, "切替中...") \
    STRING(124, kNoticeEnteringStandbyText, "休止状態に移行中...") \
    STRING(125, kLicenseNoticeText, \
        "本ソフトウェアの文字コード変換表（EUC-JP から Unicode への対応）には、" \
        "次の資料に基づくデータが含まれています。\r\n" \
        "\r\n" \
        "■JIS0212.TXT (Unicode, Inc.)\r\n" \
        "JIS X 0212（補助漢字）の対応\r\n" \
        "\r\n" \
        "Copyright (c) 1991-2011 Unicode, Inc.  All Rights reserved.\r\n" \
        "\r\n" \
        "This file is provided as-is by Unicode, Inc. (The Unicode Consortium). " \
        "No claims are made as to fitness for any particular purpose.  No " \
        "warranties of any kind are expressed or implied.  The recipient " \
        "agrees to determine applicability of information provided.  If this " \
        "file has been provided on magnetic media by Unicode, Inc., the sole " \
        "remedy for any claim will be exchange of defective media within 90 " \
        "days of receipt.\r\n" \
        "\r\n" \
        "Unicode, Inc. hereby grants the right to freely use the information " \
        "supplied in this file in the creation of products supporting the " \
        "Unicode Standard, and to make copies of this file in any form for " \
        "internal or external distribution as long as this notice remains " \
        "attached.\r\n" \
        "\r\n" \
        "■JAPANESE.TXT Ver.c02 (Apple Computer, Inc.)\r\n" \
        "コードページ 932 にない記号と縦書き用の字形の対応\r\n" \
        "\r\n" \
        "Copyright (c) 1995-2002, 2005 by Apple Computer, Inc., all rights reserved.\r\n" \
        "\r\n" \
        "Apple, the Apple logo, and Macintosh are trademarks of Apple " \
        "Computer, Inc., registered in the United States and other countries. " \
        "Unicode is a trademark of Unicode Inc. For the sake of brevity, " \
        "throughout this document, \042Macintosh\042 can be used to refer to " \
        "Macintosh computers and \042Unicode\042 can be used to refer to the " \
        "Unicode standard.\r\n" \
        "\r\n" \
        "Apple Computer, Inc. (\042Apple\042) makes no warranty or representation, " \
        "either express or implied, with respect to this document and the " \
        "included data, its quality, accuracy, or fitness for a particular " \
        "purpose. In no event will Apple be liable for direct, indirect, " \
        "special, incidental, or consequential damages resulting from any " \
        "defect or inaccuracy in this document or the included data.\r\n" \
        "\r\n" \
        "■Windows コードページ 932 (Microsoft Corporation)\r\n" \
        "JIS X 0208 の対応、NEC 特殊文字、NEC 選定 IBM 拡張文字\r\n" \
        "\r\n" \
        "Microsoft および Windows は、米国 Microsoft Corporation の米国およびその他の国における" \
        "登録商標または商標です。\r\n" \
        "\r\n" \
        "■eucJP-ms / OSF/Open Group eucJP IBM 拡張文字対応表\r\n" \
        "3 バイト部分 7373-747E に置く IBM 拡張文字 106 文字の配置") \
    STRING(126, kTipConnectionText, "接続状態： %s\n") \
    STRING(127, kAppTitleText, "Quirn Mobile Tool")                            \
    STRING(128, kAboutVersionText, "Quirn Mobile Tool Version " QUIRN_VERSION_TEXT) \
    STRING(129, kPanelFontFaceText, "ＭＳ Ｐゴシック") \
    STRING(130, kNoticeFontFaceText, "ＭＳ Ｐゴシック") \
    STRING(131, kLinkFontFaceText, "ＭＳ Ｐゴシック") \
    STRING(132, kTrayRestoreText, "元のサイズに戻す(&R)") \
    STRING(133, kTrayMinimizeText, "最小化(&N)") \
    STRING(134, kTrayIconFailedText, "通知領域にアイコンを登録できませんでした。") \
    STRING(135, kSignalNoneText, "圏外") \
    STRING(136, kSignalWeakText, "弱い") \
    STRING(137, kSignalMediumText, "中") \
    STRING(138, kSignalStrongText, "強い") \
    STRING(139, kNotConnectedText, "インターネット未接続") \
    STRING(140, kBatteryFontFaceText, "Tahoma") \
    STRING(141, kTipPercentText, "%d％") \
    STRING(142, kTipSignalText, "通信強度： %s\n") \
    STRING(143, kTipBatteryText, "バッテリ残量： %s") \
    STRING(144, kNoticeRebootFailedText, "再起動に失敗しました。") \
    STRING(145, kNoticeSwitchFailedText, "切替に失敗しました。") \
    STRING(146, kNoticeStandbyFailedText, "休止状態に失敗しました。") \
    STRING(147, kBrowserFailedText, "ブラウザを起動できませんでした。") \
    STRING(148, kPasswordTooLongText, "ログインパスワードが長すぎます。\n64文字以内で半角英数、ハイフン、アンダースコアが有効です。") \
    STRING(149, kStatusPageUserText, "tarn-access")                            \
    STRING(150, kStatusPagePasswordText, "tarn-access")                        \
    STRING(151, kAdminPasswordPromptText, "管理者パスワードが設定されていません。\n管理者パスワードを設定してください。") \
    STRING(152, kRouterHostNameText, "quirn.home.arpa") \
    STRING(153, kOnlineHelpAddressText, "http://www.vandrel.example/support/quirn/mobile-tool/") \
    STRING(154, kNoticeCheckingText, "接続確認中...") \
    STRING(155, kCheckFailedText, "接続確認に失敗しました。") \
    STRING(156, kCheckSucceededText, "接続確認に成功しました。") \
    STRING(157, kSetPasswordFailedText, "ソルミナのパスワードの設定に失敗しました。") \
    STRING(158, kAddressChangeConfirmText, "接続先IPアドレスを変更しますか？") \
    STRING(159, kAutostartFailedText, "自動起動の設定に失敗しました。") \
    STRING(160, kSaveSettingsFailedText, "設定を保存できませんでした。") \
    STRING(161, kKeepInTrayConfirmText, "常駐するとバッテリー消費が多くなります。\nよろしいですか？") \
    STRING(162, kNoticeVolumeExceededText, "データ通信量の上限値を超えています。") \
    STRING(163, kVolumeMonthLineText, "　現在のデータ通信量：　%s") \
    STRING(164, kLimitReachLineText, "　上限設定への到達度：　%s") \
    STRING(165, kVolumeHeadingText, "データ通信量") \
    STRING(166, kVolumeLimitLineText, "　データ通信量の上限設定：　%s") \
    STRING(167, kVolumeExceededPromptText, "データ通信量の上限値を超えています。") \
    STRING(168, kNoticeWrongPasswordText, "管理者パスワードが違います。") \
    STRING(169, kPasswordRejectedPromptText, "パスワードの認証に失敗しました。\nルーターに設定したパスワードを入力してください。") \
    STRING(170, kPasswordCharacterText, "ログインパスワードに使用できない文字が含まれています。") \
    STRING(171, kProfileNotSavedText, "設定ファイルに書き込めませんでした。\n%s\n設定は保存されていません。") \
    STRING(335, kSignalVeryStrongText, "非常に強い")
// clang-format on

#ifndef RC_INVOKED

namespace quirn {

// String-table ids by name.
enum StringId : int {
#define QUIRN_STRING_ID(id, name, text) name = id,
    QUIRN_STRING_TABLE(QUIRN_STRING_ID)
#undef QUIRN_STRING_ID
};

// The wide text of string `id`; empty when the table has no such entry, as a failed load gives.
constexpr const wchar_t* StringText(int id) {
    switch (id) {
#define QUIRN_STRING_CASE(id, name, text) \
    case id:                              \
        return L"" text;
        QUIRN_STRING_TABLE(QUIRN_STRING_CASE)
#undef QUIRN_STRING_CASE
    }
    return L"";
}

// The UTF-8 text of string `id`, for the router library and quirnctl; empty when unknown.
constexpr const char* StringTextUtf8(int id) {
    switch (id) {
#define QUIRN_STRING_CASE(id, name, text) \
    case id:                              \
        return text;
        QUIRN_STRING_TABLE(QUIRN_STRING_CASE)
#undef QUIRN_STRING_CASE
    }
    return "";
}

}  // namespace quirn

#endif  // RC_INVOKED
