// The battery gauge's model: frame and text for the inputs, the last-level fallback, the
// charging animation over time and the tray icon.
#include "ui/display/battery.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace quirn {
namespace {

struct FaceCase {
    bool stale;
    int32_t level;
    int32_t percent;
    int frame;
    std::wstring text;
};

TEST(Battery, ShowsTheFrameAndTextForTheStatus) {
    const FaceCase cases[] = {
        {false, 10, 100, 207, L"100%"},
        {false, 3, 28, 193, L" 28%"},
        {false, 0, 5, 186, L"  5%"},
        {false, 1, 12, 189, L" 12%"},
        {false, 5, 59, 197, L" 59%"},
        {false, 9, 95, 205, L" 95%"},
        // Charging with a known level: that level's charging frame, no text.
        {false, 4, -1, 196, L""},
        {false, 0, -1, 188, L""},
        {false, 10, -1, 208, L""},
        // No information, whatever the rest says.
        {true, 7, 70, 186, L"??%"},
        {true, 4, -1, 186, L"??%"},
        {true, -1, -1, 186, L"??%"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "stale " << c.stale << " level " << c.level << " percent " << c.percent);
        Battery battery;
        battery.SetStatus(c.stale, c.level, c.percent);
        const BatteryFace face = battery.Face();
        EXPECT_EQ(face.frame, c.frame);
        EXPECT_EQ(face.text, c.text);
    }
}

TEST(Battery, StartsWithNoInformationAndStartUpKeepsIt) {
    Battery battery;
    battery.ResetForStartUp();
    const BatteryFace face = battery.Face();
    EXPECT_EQ(face.frame, 186);
    EXPECT_EQ(face.text, L"??%");
    EXPECT_EQ(battery.GetTrayIcon(), 291);
}

TEST(Battery, InvalidLevelShowsTheLastFrameOfTheSameList) {
    struct Case {
        int32_t bad_level;
        int32_t percent;
        int frame;
    };
    const Case cases[] = {
        {11, 66, 199},                                // normal frame 6
        {-1, 66, 199}, {-2, 66, 199}, {-1, -1, 200},  // charging frame 6
        {11, -1, 200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.bad_level << " percent " << c.percent);
        Battery battery;
        battery.SetStatus(false, 6, 66);
        battery.Face();
        battery.SetStatus(false, c.bad_level, c.percent);
        EXPECT_EQ(battery.Face().frame, c.frame);
        EXPECT_EQ(battery.LastLevel(), 6);
    }
}

TEST(Battery, NoInformationResetsTheLastLevel) {
    Battery battery;
    battery.SetStatus(false, 8, 80);
    battery.Face();
    battery.SetStatus(true, 8, 80);
    battery.Face();
    EXPECT_EQ(battery.LastLevel(), 0);
    battery.SetStatus(false, 12, 80);
    EXPECT_EQ(battery.Face().frame, 186);
}

TEST(Battery, TrayIconFollowsTheInputs) {
    struct Case {
        bool stale;
        int32_t level;
        int32_t percent;
        std::optional<int> icon;
    };
    const Case cases[] = {
        {true, 7, 70, 291},
        {true, -1, -1, 291},
        {false, 0, 3, 291},
        {false, 1, 10, 293},
        {false, 2, 20, 332},
        {false, 5, 50, 326},
        {false, 10, 100, 294},
        {false, 9, 99, 318},
        // Charging: always index 5 of the charging icons.
        {false, -1, -1, 325},
        {false, 0, -1, 325},
        {false, 10, -1, 325},
        // A level without an icon leaves the tray's icon as it is.
        {false, 11, 50, std::nullopt},
        {false, -2, 50, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "stale " << c.stale << " level " << c.level << " percent " << c.percent);
        Battery battery;
        battery.SetStatus(c.stale, c.level, c.percent);
        EXPECT_EQ(battery.GetTrayIcon(), c.icon);
    }
}

TEST(Battery, SetStatusDerivesChargingAndNoLevelFromTheMarks) {
    Battery battery;
    battery.SetStatus(false, -1, -1);
    BatteryInputs inputs = battery.Inputs();
    EXPECT_TRUE(inputs.charging);
    EXPECT_TRUE(inputs.no_level);
    EXPECT_FALSE(inputs.no_information);

    battery.SetStatus(true, 4, 45);
    inputs = battery.Inputs();
    EXPECT_FALSE(inputs.charging);
    EXPECT_FALSE(inputs.no_level);
    EXPECT_TRUE(inputs.no_information);
    EXPECT_EQ(inputs.level, 4);
    EXPECT_EQ(inputs.percent, 45);
}

TEST(Battery, TextIsCentredWithEachWidthHalvedOnItsOwn) {
    const auto passes = BatteryTextPasses(120, 45);
    EXPECT_EQ(passes[0].x, 38);  // 60 - 22, where (120 - 45) / 2 would give 37
    EXPECT_EQ(passes[0].y, 14);
    EXPECT_EQ(passes[1].x, 38);
    EXPECT_EQ(passes[1].y, 15);
    EXPECT_EQ(passes[0].colour.red, 0);
    EXPECT_EQ(passes[1].colour.red, 255);
}

// A gauge charging without a level, its animation clock started at 0.
class ChargingAnimation : public testing::Test {
  protected:
    void SetUp() override {
        battery.StartAnimation(0);
        battery.SetStatus(false, -1, -1);
    }

    // The frames shown at each due tick from `first_tick` on, one call per period.
    std::vector<int> FramesAtTicks(int64_t first_tick, int ticks) {
        std::vector<int> frames;
        for (int i = 0; i < ticks; ++i) {
            EXPECT_TRUE(battery.Animate(first_tick + i * Battery::kAnimationPeriodMs));
            frames.push_back(battery.Face().frame);
        }
        return frames;
    }

    Battery battery;
};

TEST_F(ChargingAnimation, CyclesEmptyHalfAndFullHoldingFullForTwoTicks) {
    EXPECT_EQ(FramesAtTicks(900, 8), (std::vector<int>{188, 198, 208, 208, 188, 198, 208, 208}));
}

TEST_F(ChargingAnimation, StepsOnlyWhenATickIsNear) {
    EXPECT_FALSE(battery.Animate(100));
    EXPECT_FALSE(battery.Animate(449));
    EXPECT_TRUE(battery.Animate(899));  // a timer message a moment early
    EXPECT_FALSE(battery.Animate(900));
    EXPECT_FALSE(battery.Animate(1349));
    EXPECT_TRUE(battery.Animate(1800));
}

TEST_F(ChargingAnimation, ItsOwnTimerStepsOnEveryMessageAndKeepsTheCycle) {
    // Timer messages a little early or late around each tick: every one is a step.
    const int jitter[] = {-16, 15, -1, 31, 0, -30, 16, 8};
    int steps = 0;
    int64_t now = 0;
    for (int i = 1; i <= 400; ++i) {
        now = i * static_cast<int64_t>(Battery::kAnimationTimerMs) + jitter[i % 8];
        steps += battery.Animate(now) ? 1 : 0;
    }
    EXPECT_EQ(steps, 400);
    EXPECT_EQ(battery.Face().frame, 208);  // 400 steps are whole 3.6-second cycles

    // A timer that drifts later each time (a period rounded up to the system's tick) loses no
    // message over an hour: the ticks stay on their phase and the drift is taken up early.
    Battery drifting;
    drifting.StartAnimation(0);
    drifting.SetStatus(false, -1, -1);
    int calls = 0;
    steps = 0;
    for (now = 906; now <= 3'600'000; now += 906) {
        ++calls;
        steps += drifting.Animate(now) ? 1 : 0;
    }
    EXPECT_EQ(steps, calls);
}

TEST_F(ChargingAnimation, LateCallStepsOnceAndKeepsThePhase) {
    EXPECT_TRUE(battery.Animate(900));   // step 0: empty
    EXPECT_TRUE(battery.Animate(4000));  // three ticks late: one step, to half
    EXPECT_EQ(battery.Face().frame, 198);
    EXPECT_FALSE(battery.Animate(4040));  // the next tick is at 4500
    EXPECT_TRUE(battery.Animate(4500));
    EXPECT_EQ(battery.Face().frame, 208);
}

TEST_F(ChargingAnimation, ClockSetBackStartsOver) {
    EXPECT_TRUE(battery.Animate(900));
    EXPECT_FALSE(battery.Animate(-5000));
    EXPECT_FALSE(battery.Animate(-4600));
    EXPECT_TRUE(battery.Animate(-4100));
}

TEST_F(ChargingAnimation, RefreshBetweenTicksShowsTheLastFrame) {
    EXPECT_TRUE(battery.Animate(900));
    EXPECT_TRUE(battery.Animate(1800));
    EXPECT_EQ(battery.Face().frame, 198);
    battery.SetStatus(false, -1, -1);  // the refresh sets level -1 again
    EXPECT_EQ(battery.Face().frame, 198);
    EXPECT_EQ(battery.Face().text, L"");
}

TEST_F(ChargingAnimation, DoesNothingUnlessChargingWithoutALevel) {
    const struct {
        int32_t level;
        int32_t percent;
        int frame;
    } cases[] = {
        {4, -1, 196},   // charging with a level
        {-1, 40, 195},  // no level but not charging: the normal frame of the last level
        {7, 70, 201},
    };
    int64_t now = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.level << " percent " << c.percent);
        battery.SetStatus(false, c.level, c.percent);
        for (int i = 0; i < 4; ++i) {
            now += Battery::kAnimationPeriodMs;
            EXPECT_FALSE(battery.Animate(now));
            EXPECT_EQ(battery.Face().frame, c.frame);
        }
    }
    // The animation then begins at its first step.
    battery.SetStatus(false, -1, -1);
    EXPECT_TRUE(battery.Animate(now + Battery::kAnimationPeriodMs));
    EXPECT_EQ(battery.Face().frame, 188);
}

TEST_F(ChargingAnimation, StartUpResetReturnsToTheFirstStep) {
    EXPECT_TRUE(battery.Animate(900));
    EXPECT_TRUE(battery.Animate(1800));
    battery.ResetForStartUp();
    battery.SetStatus(false, -1, -1);
    EXPECT_TRUE(battery.Animate(2700));
    EXPECT_EQ(battery.Face().frame, 188);
}

TEST(Battery, AnimationClockStartsAtTheFirstCall) {
    Battery battery;
    battery.SetStatus(false, -1, -1);
    EXPECT_FALSE(battery.Animate(5000));
    EXPECT_FALSE(battery.Animate(5449));
    EXPECT_TRUE(battery.Animate(5900));
}

// The worker writes whole statuses while the window paints: every face belongs to one of them.
TEST(Battery, PaintSeesWholeStatusesWhileTheWorkerWrites) {
    Battery battery;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i < 20000; ++i) {
            if (i % 2 == 0) {
                battery.SetStatus(false, 10, 100);
            } else {
                battery.SetStatus(false, 4, -1);
            }
        }
        done = true;
    });
    int mixed = 0;
    while (!done) {
        const BatteryFace face = battery.Face();
        const bool full = face.frame == 207 && face.text == L"100%";
        const bool charging = face.frame == 196 && face.text.empty();
        const bool initial = face.frame == 186 && face.text == L"??%";
        mixed += (full || charging || initial) ? 0 : 1;
    }
    worker.join();
    EXPECT_EQ(mixed, 0);
}

}  // namespace
}  // namespace quirn
