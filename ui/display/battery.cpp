// battery.cpp: the gauge's choice of frame, text and tray icon, and its charging animation.
#include "ui/display/battery.h"

#include <algorithm>
#include <cwchar>

#include "res/resource.h"

namespace quirn {
namespace {

constexpr bool IsFrameIndex(int32_t level) {
    return level >= 0 && level <= 10;
}

// The level each animation step sets; step 3 sets none, so the full frame shows a second period.
constexpr int32_t kAnimationLevels[] = {0, 5, 10};

}  // namespace

std::array<TextPass, 2> BatteryTextPasses(int frame_width, int text_width,
                                          const DisplayScale& scale) {
    // Each width is halved on its own, as the frame's and the text's centres.
    const int x = frame_width / 2 - text_width / 2;
    const int y = scale(14);
    return {TextPass{x, y, kBlack}, TextPass{x, y + scale(1), kWhite}};
}

Battery::Battery() = default;

Battery::~Battery() = default;

void Battery::SetStatus(bool stale, int32_t battery_level, int32_t battery_percent) {
    std::lock_guard lock(mutex_);
    inputs_.no_information = stale;
    inputs_.charging = battery_percent == -1;
    inputs_.no_level = battery_level == -1;
    inputs_.level = battery_level;
    inputs_.percent = battery_percent;
}

void Battery::ResetForStartUp() {
    std::lock_guard lock(mutex_);
    inputs_.charging = false;
    inputs_.level = 0;
    inputs_.percent = 0;
    step_ = 0;
}

BatteryInputs Battery::Inputs() const {
    std::lock_guard lock(mutex_);
    return inputs_;
}

BatteryFace Battery::Face() {
    std::lock_guard lock(mutex_);
    BatteryFace face;
    if (inputs_.no_information) {
        face.text = StringText(kBatteryNoInfoText);
        face.frame = kBatteryFrameIds[0];
        last_level_ = 0;
        return face;
    }
    if (!inputs_.charging) {
        // Room for "%3d%%" of any 32-bit number and the terminator.
        wchar_t text[16];
        std::swprintf(text, std::size(text), StringText(kBatteryPercentText), inputs_.percent);
        face.text = text;
    }
    const int* frames = inputs_.charging ? kBatteryChargingFrameIds : kBatteryFrameIds;
    if (IsFrameIndex(inputs_.level)) {
        last_level_ = inputs_.level;
    }
    face.frame = frames[last_level_];
    return face;
}

int32_t Battery::LastLevel() const {
    std::lock_guard lock(mutex_);
    return last_level_;
}

std::optional<int> Battery::GetTrayIcon() const {
    std::lock_guard lock(mutex_);
    if (inputs_.no_information) {
        return kBatteryIconIds[0];
    }
    if (inputs_.charging) {
        return kBatteryChargingIconIds[5];
    }
    if (IsFrameIndex(inputs_.level)) {
        return kBatteryIconIds[inputs_.level];
    }
    return std::nullopt;
}

void Battery::StartAnimation(int64_t now_ms) {
    std::lock_guard lock(mutex_);
    next_tick_ms_ = now_ms + kAnimationPeriodMs;
}

bool Battery::Animate(int64_t now_ms) {
    std::lock_guard lock(mutex_);
    if (!next_tick_ms_ || now_ms < *next_tick_ms_ - kAnimationPeriodMs) {
        // Not started yet, or the clock went back before the last tick: start over from now.
        next_tick_ms_ = now_ms + kAnimationPeriodMs;
        return false;
    }
    if (now_ms < *next_tick_ms_ - kAnimationEarlyMs) {
        return false;
    }
    // The next tick keeps the phase and lies more than the early margin after now, so a late
    // call acts once and an early one does not take the next tick as well.
    const int64_t taken = std::max<int64_t>(0, now_ms + kAnimationEarlyMs - *next_tick_ms_);
    *next_tick_ms_ += (taken / kAnimationPeriodMs + 1) * kAnimationPeriodMs;
    if (!(inputs_.charging && inputs_.no_level)) {
        return false;
    }
    if (step_ < static_cast<int32_t>(std::size(kAnimationLevels))) {
        inputs_.level = kAnimationLevels[step_];
    }
    step_ = (step_ + 1) % 4;
    return true;
}

}  // namespace quirn
