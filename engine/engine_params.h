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
    // Kernel sizes and blob areas are given for the reference size.
    int blurKernel = 7;
    double backgroundRate = 0.01;       // learning rate of the background
    double diffThreshold = 10.0;        // grey-level difference that counts as motion
    int openKernelSize = 2;
    int dilateKernelSize = 7;
    int frameHistoryLength = 15;        // blurred frames kept for the difference test
    double minBlobArea = 20.0;
    double maxBlobArea = 5000.0;
    double minAspect = 0.5;             // width / height
    double maxAspect = 5.0;
    int maskHistoryLength = 30;         // masks kept for the persistence test
    int persistenceLimit = 3;           // moving in this many counted masks: suppressed
    int maskDilateKernelSize = 12;      // not scaled
    int persistenceLag = 5;             // newest masks left out of the count
    int maxCandidates = 40;             // more blobs in one frame: none
    double maxMotionFraction = 0.15;    // more moving pixels than this share: none

    // --- ball tracking, retracking and splitting ---
    // Sizes marked "1080" are pixels at 1080 lines, scaled by analysisHeight / 1080.
    double candidateMergeRadius = 50.0;     // 1080
    int maxMergeGroup = 3;                  // larger merged groups are discarded
    int burstWindow = 10;                   // raw counts kept for the burst test
    int burstMinCandidates = 12;
    double burstFactor = 2.5;
    double burstMargin = 12.0;
    double maxAssociationDistance = 100.0;  // 1080
    double maxSizeChange = 100.0;           // 1080
    double maxCandidateHeight = 300.0;      // 1080
    double processNoisePosition = 1.0;
    double processNoiseVelocity = 10.0;
    double measurementNoisePosition = 5.0;
    double measurementNoiseSize = 30.0;
    double sizeRatioBase = 2.0;
    double sizeRatioAreaScale = 1000.0;
    double mahalanobisAcceptAll = 0.0;      // below this squared distance a pair is always linked
    int maxLostFrames = 5;
    int minPointsToCoast = 3;               // points a track needs to survive a missed frame
    int minTrackPoints = 5;                 // points a finished track needs to be output
    int splitHalfWindow = 5;                // at least 3 is used
    double splitHeadingWeight = 2.0;
    double splitAreaWeight = 20.0;
    double splitSpeedWeight = 15.0;
    double splitAspectWeight = 40.0;
    double splitSpeedSpreadWeight = 7.5;
    double splitThreshold = 80.0;
    double crowdRadius = 50.0;              // pixels of the analysis image
    double isolatedSplitFactor = 0.0;       // score factor when no other object is near

    // --- track features and culling ---
    double neighbourRadiusSmall = 5.0;
    double neighbourRadiusLarge = 10.0;
    int cellMinSamples = 30;                // samples a grid cell needs for its own reference
    double cellRefMinFactor = 0.5;          // cell reference clamp, times the global median
    double cellRefMaxFactor = 2.0;
    double ballScoreThreshold = 1.5;
    double ballScoreDurationWeight = 0.3;
    double ballScoreEfficiencyWeight = 1.5;
    double ballScoreExtentWeight = 2.5;
    double flightMinTravel = 4.0;           // ball diameters
    int flightMinPoints = 8;
    double flightMinFit = 0.9;
    double flightMinGravity = 0.005;
    double flightMaxGravity = 0.08;

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
