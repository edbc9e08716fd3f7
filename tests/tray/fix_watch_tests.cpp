#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fix_watch.h"

namespace {

using namespace std::chrono_literals;

// One step of a timeline: at `ms` the sensor turns ready or not ready, or
// (look) only time passes. Whatever is due is told at once.
struct Step {
    int ms;
    enum { Ready, NotReady, Look } what;
};

struct Told {
    int ms;
    FixNews news;
    long long timeToFixMs;  // for a gain
    bool operator==(const Told&) const = default;
};

std::vector<Told> TellAlong(const std::vector<Step>& steps) {
    const SteadyTime start{};
    FixWatch watch(10s, start);
    std::vector<Told> told;
    for (const Step& step : steps) {
        const SteadyTime now = start + std::chrono::milliseconds(step.ms);
        if (step.what != Step::Look) watch.Observe(now, step.what == Step::Ready);
        const FixNews news = watch.Due(now);
        if (news == FixNews::None) continue;
        told.push_back({step.ms, news, news == FixNews::Gained ? watch.TimeToFix().count() : 0});
        watch.Told(news);
    }
    return told;
}

std::vector<Step> Flicker(int from, int to, int every) {
    std::vector<Step> steps;
    for (int ms = from; ms < to; ms += every) steps.push_back({ms, (ms - from) / every % 2 ? Step::Ready : Step::NotReady});
    return steps;
}

TEST(FixWatch, Timelines_TellEachGainAndLossOnceAndCountTheTimeToFixFromTheLoss) {
    struct Case {
        const char* what;
        std::vector<Step> steps;
        std::vector<Told> told;
    } cases[] = {
        {"first fix, counted from the start", {{0, Step::NotReady}, {4200, Step::Ready}}, {{4200, FixNews::Gained, 4200}}},
        {"never a fix: no loss either", {{0, Step::NotReady}, {60000, Step::Look}}, {}},
        {"loss told after the hold; the regain counts from the loss's start",
         {{0, Step::Ready}, {5000, Step::NotReady}, {14999, Step::Look}, {15000, Step::Look}, {21000, Step::Ready}},
         {{0, FixNews::Gained, 0}, {15000, FixNews::Lost, 0}, {21000, FixNews::Gained, 16000}}},
        {"a ready moment restarts the hold",
         {{0, Step::Ready}, {1000, Step::NotReady}, {5000, Step::Ready}, {5200, Step::NotReady}, {11000, Step::Look},
          {15199, Step::Look}, {15200, Step::Look}},
         {{0, FixNews::Gained, 0}, {15200, FixNews::Lost, 0}}},
    };
    for (const Case& c : cases) EXPECT_EQ(TellAlong(c.steps), c.told) << c.what;

    // Flickering every 200 ms for 5 s after the fix: nothing more is told;
    // after a told loss, only the first ready moment is.
    std::vector<Step> steps{{0, Step::Ready}};
    for (const Step& step : Flicker(1000, 6000, 200)) steps.push_back(step);
    steps.push_back({6000, Step::NotReady});
    steps.push_back({16000, Step::Look});
    for (const Step& step : Flicker(17000, 22000, 200)) steps.push_back(step);
    EXPECT_EQ(TellAlong(steps), (std::vector<Told>{{0, FixNews::Gained, 0}, {16000, FixNews::Lost, 0},
                                              {17200, FixNews::Gained, 11400}}));
}

}  // namespace
