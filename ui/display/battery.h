// battery.h: the battery gauge's model: its inputs, the frame and percentage text it shows, the
// charging animation and the notification-area battery icon.
//
// The display refresh writes the inputs on a worker thread while the window's thread paints and
// animates; every member function takes the model's lock, so each sees one whole set of inputs.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "res/strings.h"
#include "ui/display/text_style.h"

namespace quirn {

// The gauge's inputs.
struct BatteryInputs {
    int32_t level = 0;           // fill in tenths, 0 to 10; other values show the last frame
    int32_t percent = 0;         // printed across the frame
    bool charging = false;       // the router charges and reports no percentage
    bool no_information = true;  // no usable status is available
    bool no_level = false;       // the router reported no level
};

// What the gauge shows: a frame and the text printed across it.
struct BatteryFace {
    int frame;          // bitmap resource id, 120 x 75
    std::wstring text;  // empty while charging
};

// Font of the percentage text: Tahoma, bold, 30 pixels.
inline constexpr LabelFont kBatteryFont{kBatteryFontFaceText, 30, 700};

// Where the percentage text goes over a frame `frame_width` wide when the text measures
// `text_width` (both as drawn at `scale`): centred, first in black and then in white one
// (scaled) pixel lower, which gives the white text a dark edge above it. Draw the passes in
// order.
std::array<TextPass, 2> BatteryTextPasses(int frame_width, int text_width,
                                          const DisplayScale& scale = {});

class Battery {
  public:
    // A charging router without a level shows the next animation frame this often.
    static constexpr int64_t kAnimationPeriodMs = 900;
    // Period of the control's timer that calls `Animate`: one call a step, so a program that
    // lives in the notification area wakes no more often than the picture changes.
    static constexpr unsigned kAnimationTimerMs = kAnimationPeriodMs;
    // A call this long before a tick takes it: timer messages come a little early or late.
    static constexpr int64_t kAnimationEarlyMs = kAnimationPeriodMs / 2;

    // No information, not charging, level and percent 0; the animation at its first step and
    // its clock not yet started.
    Battery();
    virtual ~Battery();
    Battery(const Battery&) = delete;
    Battery& operator=(const Battery&) = delete;

    // Sets every input from the shown status: no information = `stale`; charging while the
    // percentage is -1 and no level while the level is -1 (the router's marks for charging);
    // level and percent as they are, stale or not.
    void SetStatus(bool stale, int32_t battery_level, int32_t battery_percent);

    // Start-up: not charging, level 0, percent 0, the animation back at its first step. The
    // no-information input is left alone, so the gauge keeps showing "??%" until a status.
    void ResetForStartUp();

    BatteryInputs Inputs() const;

    // The frame and text to paint for the current inputs; for the paint handler only, as it
    // records the frame's index. No information shows the empty normal frame and "??%";
    // charging shows the charging frame of the level and no text; otherwise the normal frame
    // of the level and the percentage as "%3d%%". A level outside 0 to 10 shows the frame of the
    // index shown last, from the list of the current inputs.
    BatteryFace Face();

    // Index of the frame `Face` chose last: 0 at first, after no information, or the last
    // valid level.
    int32_t LastLevel() const;

    // The notification-area icon group: the empty normal icon without information, the charging
    // icon of index 5 while charging whatever the level, otherwise the normal icon of the level.
    // None for a level outside 0 to 10, so the tray keeps the icon it has.
    std::optional<int> GetTrayIcon() const;

    // Starts the animation clock: the first step falls due one period after `now_ms`. `now_ms`
    // here and in `Animate` is a monotonic clock in milliseconds.
    void StartAnimation(int64_t now_ms);

    // Runs the charging animation up to `now_ms`; call it every `kAnimationTimerMs`. A tick
    // falls due every `kAnimationPeriodMs` from the start of the clock (the first call starts it
    // when `StartAnimation` was not called), so the cycle keeps its length however the timer
    // drifts; a call up to `kAnimationEarlyMs` before a tick takes it, and ticks missed by a
    // late call are dropped, not caught up. A tick acts only while charging without a level: its step sets the level to 0, 5, 10,
    // and leaves it once more, then starts over. Returns true when a step acted and the gauge
    // must be repainted.
    bool Animate(int64_t now_ms);

  private:
    mutable std::mutex mutex_;
    BatteryInputs inputs_;
    int32_t last_level_ = 0;  // always a valid frame index
    int32_t step_ = 0;        // next animation step, 0 to 3
    std::optional<int64_t> next_tick_ms_;
};

}  // namespace quirn
