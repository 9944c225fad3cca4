#include "lineup.h"

#include "stands.h"

#include <algorithm>
#include <limits>

namespace rallinox::synth {
namespace {

// Jersey colours in BGR order, as OpenCV draws.
const std::vector<cv::Scalar> kJerseys = {
    {40, 40, 200},  {170, 60, 20},  {235, 235, 235}, {30, 30, 30},  {40, 210, 230}, {60, 150, 40},
    {20, 120, 240}, {90, 30, 20},   {140, 40, 120},  {220, 170, 80}, {60, 60, 120}, {200, 200, 90}};
const std::vector<cv::Scalar> kSkins = {{185, 200, 235}, {150, 170, 215}, {110, 135, 185}, {70, 95, 140},
                                        {45, 65, 100}};
const std::vector<cv::Scalar> kHair = {{20, 25, 30}, {30, 50, 80}, {60, 100, 150}, {120, 170, 210}, {15, 15, 15}};

double colourDistance(const cv::Scalar& a, const cv::Scalar& b) {
    return std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]);
}

cv::Scalar jitter(const cv::Scalar& c, Random& random, double amount) {
    return {std::clamp(c[0] + random.uniform(-amount, amount), 0.0, 255.0),
            std::clamp(c[1] + random.uniform(-amount, amount), 0.0, 255.0),
            std::clamp(c[2] + random.uniform(-amount, amount), 0.0, 255.0)};
}

}  // namespace

cv::Scalar randomSkin(Random& random) { return jitter(kSkins[random.index(static_cast<int>(kSkins.size()))], random, 10); }

cv::Scalar randomHair(Random& random) { return kHair[random.index(static_cast<int>(kHair.size()))]; }

Appearance player(Random& random, const cv::Scalar& jersey, const cv::Scalar& shorts, bool female) {
    Appearance a;
    a.jersey = jitter(jersey, random, 6);
    a.shorts = shorts;
    a.skin = randomSkin(random);
    a.hair = randomHair(random);
    a.socks = random.chance(0.6) ? cv::Scalar(235, 235, 235) : shorts;
    a.shoes = random.chance(0.5) ? cv::Scalar(230, 230, 230) : cv::Scalar(40, 40, 40);
    a.height = female ? random.normal(1.78, 0.06) : random.normal(1.92, 0.07);
    return a;
}

Vec3 teamPoint(int team, double fromLeft, double fromNet) {
    return team == 0 ? Vec3{fromLeft, kNetY - fromNet, 0} : Vec3{kCourtWidth - fromLeft, kNetY + fromNet, 0};
}

Vec3 netward(int team) { return team == 0 ? Vec3{0, 1, 0} : Vec3{0, -1, 0}; }

Vec3 slotBase(int team, int slot) {
    static const double fromLeft[6] = {7.0, 7.3, 4.5, 1.7, 2.0, 4.5};
    static const double fromNet[6] = {6.8, 2.2, 2.0, 2.2, 6.8, 7.4};
    return teamPoint(team, fromLeft[slot], fromNet[slot]);
}

int sideOf(const Vec3& p) { return p.y < kNetY ? 0 : 1; }

bool insideCourt(const Vec3& p) {
    constexpr double line = 0.05 + kBallRadius;
    return p.x >= -line && p.x <= kCourtWidth + line && p.y >= -line && p.y <= kCourtLength + line;
}

int PlannerState::nearestPlayer(int team, const Vec3& point, double t, int excluded) const {
    int best = -1;
    double bestDistance = std::numeric_limits<double>::max();
    for (int index : teams[static_cast<size_t>(team)].slot) {
        if (index == excluded) continue;
        const double d = (plan.actors[static_cast<size_t>(index)].position(t) - point.flat()).length();
        if (d < bestDistance) bestDistance = d, best = index;
    }
    return best;
}

void castTeams(PlannerState& state) {
    Random& random = state.random;
    const int first = random.index(static_cast<int>(kJerseys.size()));
    int second = first;
    while (colourDistance(kJerseys[static_cast<size_t>(second)], kJerseys[static_cast<size_t>(first)]) < 200) {
        second = random.index(static_cast<int>(kJerseys.size()));
    }
    const bool female = random.chance(0.5);
    const std::array<cv::Scalar, 2> jerseys = {kJerseys[static_cast<size_t>(first)], kJerseys[static_cast<size_t>(second)]};
    for (int team = 0; team < 2; ++team) {
        const cv::Scalar shorts = random.chance(0.5) ? cv::Scalar(30, 30, 30) : jerseys[static_cast<size_t>(team)] * 0.6;
        Lineup& lineup = state.teams[static_cast<size_t>(team)];
        // The libero, in the back row, wears a contrasting jersey.
        const cv::Scalar libero = kJerseys[static_cast<size_t>(random.index(static_cast<int>(kJerseys.size())))];
        for (int slot = 0; slot < 6; ++slot) {
            lineup.slot[static_cast<size_t>(slot)] = static_cast<int>(state.plan.actors.size());
            const cv::Scalar& jersey = slot == 5 ? libero : jerseys[static_cast<size_t>(team)];
            state.plan.actors.emplace_back(player(random, jersey, shorts, female), slotBase(team, slot), team);
        }
        for (int b = 0; b < 2; ++b) {
            lineup.bench[static_cast<size_t>(b)] = static_cast<int>(state.plan.actors.size());
            const Vec3 seat = teamPoint(team, -2.2 - 0.6 * b, 3.0 + 1.2 * b);
            state.plan.actors.emplace_back(player(random, jerseys[static_cast<size_t>(team)], shorts, female), seat, team);
        }
        lineup.setter = lineup.slot[1];
    }
    Appearance referee = player(random, {25, 25, 25}, {25, 25, 25}, random.chance(0.5));
    referee.jersey = {230, 230, 230};
    referee.kneePads = false;
    state.plan.actors.emplace_back(referee, refereeStand(state.camera), -1);
    state.plan.actors.back().standHeight = kRefereeStandHeight;
}

}  // namespace rallinox::synth
