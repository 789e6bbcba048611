#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "pixels/pixel_view.h"

// How a scale ended.
enum class ScaleStatus {
    Scaled,
    TooLarge,     // the source or the copy is beyond what the resampler takes
    OutOfMemory,
};

// While set on a thread, its scales use that thread alone: a batch whose
// workers already keep every core busy gains nothing from a second thread
// per scale, and each hand-over of rows costs switches (under Wine, trips to
// its server too).
void scaleOnThisThreadAlone(bool alone);

// A copy of a source at exactly width x height, made while the source is
// still being filled from the top, as a decoder fills it: a large shrink is
// first taken down by a box average to about twice the target, band by band
// as the rows come, then every pixel is resampled with a separable cubic
// filter whose support widens with the shrink, transparent pixels weighted by
// their alpha and the edges clamped, all on the picture's own sRGB values.
// The box average and the copy's rows, in bands, are made on a second core as
// soon as the source rows they read are there, and by the filling thread too
// once the source is whole, so that decoding and resampling overlap. Objects on
// different threads share nothing.
class StreamedScale {
public:
    StreamedScale() = default;
    StreamedScale(const StreamedScale&) = delete;
    StreamedScale& operator=(const StreamedScale&) = delete;
    // Stops the second core's work, finished or not.
    ~StreamedScale();

    // The source is the picture's whole view, its rows still to be filled;
    // the extent is how much of the picture it stands for. Anything but Scaled
    // ends the scale.
    ScaleStatus begin(const PixelView& source, const PixelExtent& extent, int32_t width, int32_t height);
    // Source rows 0 up to `rows` now hold their pixels.
    void rowsFilled(int32_t rows);
    // Once the whole source is filled: the copy, into scaled.
    ScaleStatus finish(PixelBuffer& scaled);

private:
    void resampleBands();
    // Box-reduces the source rows filled since the last call, on whichever
    // thread gets there first.
    void reduceFilled();
    int32_t sourceRowsFor(int32_t bottom) const;
    void stop();

    PixelView source_;
    int32_t factor_ = 1;
    PixelBuffer reduced_;
    std::mutex reducing_;
    int32_t reducedRows_ = 0;  // of reduced_, under reducing_
    // What the resampler reads: the source itself or its box reduction.
    PixelView resampled_;
    PixelExtent extent_;
    PixelBuffer scaled_;
    int32_t bandRows_ = 0;
    int32_t bands_ = 0;
    std::atomic<int32_t> nextBand_{0};
    std::atomic<bool> outOfMemory_{false};

    std::mutex lock_;
    std::condition_variable arrived_;
    int32_t filledRows_ = 0;  // rows of source_ that hold their pixels
    int32_t readyRows_ = 0;   // rows of resampled_ that do
    bool stopping_ = false;
    std::thread secondCore_;
};

// The whole of a source scaled at once.
ScaleStatus scalePixels(const PixelView& source, int32_t width, int32_t height, PixelBuffer& scaled);
