// app_state_window.h: what the application state machine asks of the main window.
//
// The main dialog implements this interface; tests use a recording fake. Calls may come from a
// worker thread (the event's poster); the implementation forwards control requests to the
// window's own thread.
#pragma once

namespace quirn {

// Command-button control ids of the main dialog.
constexpr int kSwitchButtonId = 1002;
constexpr int kReloadButtonId = 1003;
constexpr int kRebootButtonId = 1004;
constexpr int kStandbyButtonId = 1005;
constexpr int kDetailButtonId = 1006;
constexpr int kCheckButtonId = 1007;

// Notice numbers, the keys of the main dialog's notice texts.
enum NoticeKind : int {
    kNoticeBlank = 0,
    kNoticeFetching = 1,
    kNoticeNewFirmware = 2,
    kNoticeMaybeOutOfDate = 3,
    kNoticeFetchFailed = 4,
    kNoticePasswordNotSet = 5,
    kNoticePasswordWrong = 6,
    kNoticeRebooting = 7,
    kNoticeStandby = 8,
    kNoticeSwitching = 9,
    kNoticeChecking = 10,
    kNoticeRebootFailed = 11,
    kNoticeStandbyFailed = 12,
    kNoticeSwitchFailed = 13,
    kNoticeCheckFailed = 14,
    kNoticeOverLimit = 15,
};

class AppStateWindow {
  public:
    virtual ~AppStateWindow() = default;

    // Enables or disables the child control `control_id`.
    virtual void EnableControl(int control_id, bool enable) = 0;
    // Moves the keyboard focus to the child control `control_id`.
    virtual void FocusControl(int control_id) = 0;

    // The dialog's `connectionLost` flag.
    virtual bool ConnectionLost() const = 0;
    // The `failing` flag of the dialog's `operationTimes`: fetches have been failing.
    virtual bool OperationsFailing() const = 0;
    // The dialog's `statusValid`: a status fetch has succeeded since the program started.
    virtual bool StatusValid() const = 0;
    // True when `bt_name` of the work copy of the status is non-empty.
    virtual bool WorkStatusHasBtName() const = 0;
    // `limit_reach` of the work copy of the status.
    virtual float WorkLimitReach() const = 0;

    // Stores `kind` as `noticeKind` and shows its text from `noticeTexts` (empty when missing).
    virtual void SetNotice(int kind) = 0;
    // Repaints every child control.
    virtual void RefreshControls() = 0;
};

}  // namespace quirn
