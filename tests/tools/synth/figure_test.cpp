#include <gtest/gtest.h>

#include <set>

#include "figure.h"
#include "jersey.h"

using namespace rallinox::synth;

namespace {

Appearance player(const cv::Scalar& jersey) {
    Appearance a;
    a.jersey = jersey;
    a.shorts = {30, 30, 30};
    a.skin = {150, 170, 215};
    a.hair = {30, 40, 60};
    a.socks = {235, 235, 235};
    a.shoes = {40, 40, 40};
    return a;
}

// A player of the near team standing on court, facing the net.
struct Scene {
    Actor actor{player({40, 40, 200}), {4.5, 5.0, 0}, 0};
    Camera camera;
    Pose pose() const { return poseAt(actor, 0.0, nullptr, camera.position); }
    cv::Mat draw(int number) const {
        Appearance look = actor.look();
        look.number = number;
        cv::Mat frame(camera.size, CV_8UC3, cv::Scalar(60, 120, 60));
        drawFigure(frame, camera, pose(), look);
        return frame;
    }
};

Scene seenFrom(const Vec3& position) {
    Scene scene;
    scene.camera = Camera::lookAt(position, {4.5, 5.0, 1.2}, 1400, {640, 480});
    return scene;
}

}  // namespace

TEST(JerseyNumbers, EachTeamPlayerHasHisOwnNumberAndOthersNone) {
    std::vector<Actor> actors;
    for (int team : {0, 1}) {
        for (int i = 0; i < 8; ++i) actors.emplace_back(player({40, 40, 200}), Vec3{1.0 * i, 2.0, 0}, team);
    }
    actors.emplace_back(player({230, 230, 230}), Vec3{-1, 9, 0}, -1);
    Random random(3);
    const std::vector<Appearance> looks = numberShirts(actors, random);
    ASSERT_EQ(looks.size(), actors.size());
    std::set<int> seen[2];
    for (size_t i = 0; i < actors.size(); ++i) {
        const int team = actors[i].team();
        if (team < 0) {
            EXPECT_EQ(looks[i].number, 0);
            continue;
        }
        EXPECT_GE(looks[i].number, 1);
        EXPECT_LE(looks[i].number, 99);
        EXPECT_TRUE(seen[team].insert(looks[i].number).second) << "number " << looks[i].number << " twice in team " << team;
        EXPECT_EQ(looks[i].jersey, actors[i].look().jersey);
    }
}

TEST(JerseyNumbers, PrintShowsOnTheBackAndTurnsAwayEdgeOn) {
    const Scene behind = seenFrom({4.5, -3.0, 2.5});
    const cv::Mat plain = behind.draw(0), printed = behind.draw(8);
    // The print lightens the dark red back of the shirt, and only there.
    const Pose pose = behind.pose();
    const cv::Point back(*behind.camera.project(lerp(pose.hipCentre, pose.neck, 0.6)));
    const cv::Rect around(back - cv::Point(30, 30), cv::Size(61, 61));
    EXPECT_GT(cv::norm(plain(around), printed(around), cv::NORM_L1), 255.0 * 20);
    EXPECT_EQ(cv::norm(plain, printed, cv::NORM_L1), cv::norm(plain(around), printed(around), cv::NORM_L1));

    const Scene side = seenFrom({-6.0, 5.0, 1.5});
    EXPECT_EQ(cv::norm(side.draw(0), side.draw(8), cv::NORM_INF), 0.0);
}

namespace {

Pose shifted(Pose p, const Vec3& by) {
    for (Vec3* joint : {&p.head, &p.neck, &p.hipCentre, &p.ballHold}) *joint = *joint + by;
    for (int s = 0; s < 2; ++s) {
        for (Vec3* joint : {&p.shoulder[s], &p.elbow[s], &p.hand[s], &p.hip[s], &p.knee[s], &p.ankle[s], &p.toe[s]}) {
            *joint = *joint + by;
        }
    }
    return p;
}

}  // namespace

TEST(MovingFigure, StillPosesDrawTheSharpFigure) {
    const Scene scene = seenFrom({4.5, -3.0, 2.5});
    const Pose pose = scene.pose();
    cv::Mat sharp(scene.camera.size, CV_8UC3, cv::Scalar(60, 120, 60)), smeared = sharp.clone();
    drawFigure(sharp, scene.camera, pose, scene.actor.look());
    drawMovingFigure(smeared, scene.camera, {pose, pose, pose}, scene.actor.look());
    EXPECT_EQ(cv::norm(sharp, smeared, cv::NORM_INF), 0.0);
}

TEST(MovingFigure, FastMotionLeavesASeeThroughTrail) {
    const Scene scene = seenFrom({4.5, -3.0, 2.5});
    const Pose pose = scene.pose();
    const cv::Scalar floor(60, 120, 60);
    std::vector<Pose> during;
    for (int k = 0; k < 5; ++k) during.push_back(shifted(pose, {0.15 * k, 0, 0}));  // 0.6 m sideways
    cv::Mat frame(scene.camera.size, CV_8UC3, floor);
    drawMovingFigure(frame, scene.camera, during, scene.actor.look());
    // The torso at the first pose is covered during a fifth of the exposure only.
    const cv::Point first(*scene.camera.project(lerp(pose.hipCentre, pose.neck, 0.4)));
    const cv::Vec3b trail = frame.at<cv::Vec3b>(first);
    EXPECT_NE(trail, cv::Vec3b(60, 120, 60));
    const cv::Scalar jersey = scene.actor.look().jersey;
    EXPECT_GT(std::abs(trail[1] - jersey[1]), 30);  // well short of the jersey's own colour
    // Away from the figure the floor is untouched.
    EXPECT_EQ(frame.at<cv::Vec3b>(5, 5), cv::Vec3b(60, 120, 60));
}
