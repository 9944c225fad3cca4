// Tuning record of the analysis engine. Every threshold of every stage lives
// here with its fixed default; pixel limits are scaled by the analysis size
// where the stage says so.
#pragma once

namespace rallinox {

struct EngineParams {
    // --- driver ---
    // Pixel thresholds are given for this reference size.
    int refWidth = 960;
    int refHeight = 540;
    int videoWidth = 1920;
    int videoHeight = 1080;
    int analysisWidth = 960;
    int analysisHeight = 540;
    double analysisFps = 30.0;  // video fps / frame step
    int frameStride = 1;        // analysed frames per track frame
    int frameOffset = 0;        // frame number of sample 0 of the per-frame arrays
    double startPaddingSec = 1.5;
    double endPaddingSec = 1.5;
    double minRallySec = 1.5;

    // --- stage 1: motion detection ---

    // --- ball tracking, retracking and splitting ---

    // --- track features and culling ---

    // --- track classifier ---

    // --- ball track improvement ---
    double ballProbabilityThreshold = 0.5;
    double overlapMinRatio = 0.8;       // weaker twin: shared share of the shorter track
    double overlapMaxProbability = 0.55;
    int isolationFrames = 90;           // no other ball track this close in time: isolated
    int isolatedMinDuration = 15;
    int rescueMinGap = 10;
    int rescueMaxGap = 60;
    double rescueMinProbability = 0.45;
    double rescueMaxDistance = 150.0;   // pixels at 1080 lines
    int gapFillMaxFrames = 20;

    // --- window features ---

    // --- action model ---

    // --- rally segmentation, post-processing and review hints ---
    int mergeGapFrames = 30;
    double shortRallySec = 1.5;
    bool warmupCheck = true;
    double warmupMinSec = 60.0;
    double warmupMultiBallShare = 0.3;
    double confirmMinTrackProb = 0.4;
    double confirmMinTravel = 50.0;     // pixels of the analysis image
    double typicalGapMaxSec = 8.0;
    double joinGapSec = 2.0;
    double missedThreshold = 0.4;
    double missedMinSec = 1.5;
    double missedSmoothSec = 0.5;
    double missedMergeGapSec = 2.0;
    double missedMinPieceSec = 0.5;
    double doubtfulMinPlaySec = 4.5;
    double doubtfulMinMeanProb = 0.85;
    double doubtfulMinSpread = 0.5;     // share of the picture width
    double joinedMinGapSec = 3.0;
    double joinedMinBeforeSec = 3.0;
    double joinedMinAfterSec = 2.2;
    double missedTrackMinSpeed = 25.0;  // box widths per second
    int missedTrackMinPoints = 6;
    double missedTrackMarginSec = 3.0;
};

}  // namespace rallinox
