// notice_label.cpp: the notice texts by notice number and their hand-over to the painter.
#include "ui/display/notice_label.h"

#include <utility>

#include "state/app_state_window.h"

namespace quirn {
namespace {

constexpr std::pair<int, int> kNoticeStrings[] = {
    {kNoticeBlank, kNoticeBlankText},
    {kNoticeFetching, kNoticeFetchingText},
    {kNoticeNewFirmware, kNoticeFirmwareText},
    {kNoticeMaybeOutOfDate, kNoticeStaleText},
    {kNoticeFetchFailed, kNoticeFetchFailedText},
    {kNoticePasswordNotSet, kNoticeNoAdminPasswordText},
    {kNoticePasswordWrong, kNoticeWrongPasswordText},
    {kNoticeRebooting, kNoticeRebootingText},
    {kNoticeStandby, kNoticeStandbyText},
    {kNoticeSwitching, kNoticeSwitchingText},
    {kNoticeChecking, kNoticeCheckingText},
    {kNoticeRebootFailed, kNoticeRebootFailedText},
    {kNoticeStandbyFailed, kNoticeStandbyFailedText},
    {kNoticeSwitchFailed, kNoticeSwitchFailedText},
    {kNoticeCheckFailed, kCheckFailedText},
    {kNoticeOverLimit, kNoticeVolumeExceededText},
};

}  // namespace

int NoticeStringId(int kind) {
    for (const auto& [notice, string_id] : kNoticeStrings) {
        if (notice == kind) {
            return string_id;
        }
    }
    return 0;
}

std::wstring NoticeText(int kind) {
    return StringText(NoticeStringId(kind));
}

void NoticeLabel::SetNotice(int kind) {
    std::wstring text = NoticeText(kind);
    std::lock_guard lock(mutex_);
    text_ = std::move(text);
}

std::wstring NoticeLabel::Text() const {
    std::lock_guard lock(mutex_);
    return text_;
}

}  // namespace quirn
