// strings.h: the string-table texts the code uses, listed once so that the resource script and
// the C++ code share one copy.
//
// QUIRN_STRING_TABLE(STRING) expands STRING(id, name, text) for every entry; `text` is a narrow
// UTF-8 literal. The resource script can expand the same list into its string table.
#pragma once

// clang-format off
#define QUIRN_STRING_TABLE(STRING)                                              \
    STRING(114, kSocketInitFailedText, "Windows ソケットの初期化に失敗しました。") \
    STRING(127, kAppTitleText, "Quirn Mobile Tool")                            \
    STRING(149, kStatusPageUserText, "tarn-access")                            \
    STRING(150, kStatusPagePasswordText, "tarn-access")                        \
    STRING(152, kRouterHostNameText, "quirn.home.arpa")
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
