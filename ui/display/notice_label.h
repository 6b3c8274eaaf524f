// notice_label.h: the notice strip's model: the text it shows for the notice chosen by the
// application state, and how that text is drawn on the strip.
//
// The notice is set from a worker thread or the window's timer while the window's thread
// paints, so the text is handed over under the model's lock.
#pragma once

#include <mutex>
#include <string>

#include "res/resource.h"
#include "res/strings.h"
#include "ui/display/text_style.h"

namespace quirn {

// The strip's background, 320 x 20; the control takes its size.
inline constexpr int kNoticeStripBitmap = IDB_NOTICE_STRIP;
// Font of the notice: bold, 14 pixels.
inline constexpr LabelFont kNoticeFont{kNoticeFontFaceText, 14, 700};
// The notice is drawn once, in white, near the strip's top-left corner; what runs past the
// strip's right edge is cut off by the control.
inline constexpr TextPass kNoticeTextPass{2, 3, kWhite};

// String-table id of the text of notice number `kind` (0 to 15); 0 for a number without one.
int NoticeStringId(int kind);

// The text of notice number `kind`; empty for a number without one.
std::wstring NoticeText(int kind);

class NoticeLabel {
  public:
    // An empty text: the strip shows only its background until the first notice.
    NoticeLabel() = default;
    virtual ~NoticeLabel() = default;
    NoticeLabel(const NoticeLabel&) = delete;
    NoticeLabel& operator=(const NoticeLabel&) = delete;

    // Shows notice number `kind`, or an empty text for a number without one. Any thread.
    void SetNotice(int kind);

    // The text to draw. Any thread.
    std::wstring Text() const;

  private:
    mutable std::mutex mutex_;
    std::wstring text_;
};

}  // namespace quirn
