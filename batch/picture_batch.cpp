#include "batch/picture_batch.h"

#include <algorithm>
#include <new>
#include <system_error>

#include "codecs/wic_factory.h"
#include "imaging/resize_picture.h"
#include "pixels/resampler.h"
#include "text/utf8_string.h"

// Each worker holds one decoded picture at a time; more than four would only
// add memory on the machines the program meets.
constexpr size_t kMostWorkers = 4;

size_t batchWorkerCount(size_t pictureCount)
{
    SYSTEM_INFO system = {};
    GetSystemInfo(&system);
    const size_t cores = std::max<size_t>(1, system.dwNumberOfProcessors);
    return std::min({cores, kMostWorkers, std::max<size_t>(1, pictureCount)});
}

PictureBatch::PictureBatch(std::vector<std::wstring> pictures, const Preset& preset)
    : pictures_(std::move(pictures)), preset_(preset), results_(pictures_.size())
{
}

PictureBatch::~PictureBatch()
{
    cancel();
    for (std::thread& worker : workers_) {
        if (worker.joinable()) worker.join();
    }
}

bool PictureBatch::start(HWND window)
{
    window_ = window;
    const std::lock_guard<std::mutex> lock(runningLock_);
    const size_t count = batchWorkerCount(pictures_.size());
    workerCount_ = count;
    // A thread that cannot be had, or no memory for its start, leaves the
    // work to fewer workers.
    for (size_t i = 0; i < count; ++i) {
        try {
            workers_.emplace_back(&PictureBatch::work, this);
        } catch (const std::system_error&) {
            break;
        } catch (const std::bad_alloc&) {
            break;
        }
    }
    running_ = workers_.size();
    return !workers_.empty();
}

// The copy's path, or why there is none. Out of memory on one picture costs
// that picture, not the batch.
static ResizeOutcome resizeOne(const std::wstring& picture, const Preset& preset, std::wstring& copy)
{
    try {
        Utf8String written;
        const ResizeOutcome outcome = resizePictureFile(Utf8String::fromWide(picture.c_str(), 0), preset, written);
        if (outcome == ResizeOutcome::Written) copy = written.toWide().units();
        return outcome;
    } catch (const std::bad_alloc&) {
        return ResizeOutcome::OutOfMemory;
    }
}

void PictureBatch::resize(size_t index)
{
    std::wstring copy;
    const ResizeOutcome outcome = resizeOne(pictures_[index], preset_, copy);
    bool retryDue = false;
    {
        const std::lock_guard<std::mutex> lock(resultsLock_);
        Result& result = results_[index];
        ++result.tries;
        result.outcome = outcome;
        result.copy.swap(copy);
        retryDue = outcome == ResizeOutcome::OutOfMemory && result.tries == 1;
    }
    // A picture waiting for its second try is not finished yet.
    if (retryDue) return;
    ++finished_;
    PostMessageW(window_, kProgressMessage, 0, 0);
}

// The memory of the other workers' pictures is free now.
void PictureBatch::retryAlone()
{
    for (size_t index = 0; index < pictures_.size() && !cancelled_; ++index) {
        bool due = false;
        {
            const std::lock_guard<std::mutex> lock(resultsLock_);
            due = results_[index].outcome == ResizeOutcome::OutOfMemory && results_[index].tries == 1;
        }
        if (due) resize(index);
    }
}

void PictureBatch::work()
{
    // One imaging factory for all the worker's pictures.
    const ThreadImaging imaging;
    // Each core has a worker already.
    scaleOnThisThreadAlone(workerCount_ > 1);
    const PixelBufferReuse reuse;
    while (!cancelled_) {
        const size_t index = next_++;
        if (index >= pictures_.size()) break;
        resize(index);
    }
    {
        const std::lock_guard<std::mutex> lock(runningLock_);
        if (--running_ > 0) return;
    }
    retryAlone();
    PostMessageW(window_, kFinishedMessage, 0, 0);
}

std::vector<std::wstring> PictureBatch::copies()
{
    const std::lock_guard<std::mutex> lock(resultsLock_);
    std::vector<std::wstring> written;
    for (const Result& result : results_) {
        if (result.outcome == ResizeOutcome::Written && result.tries > 0) written.push_back(result.copy);
    }
    return written;
}

std::vector<FailedPicture> PictureBatch::failures()
{
    const std::lock_guard<std::mutex> lock(resultsLock_);
    std::vector<FailedPicture> failed;
    for (size_t i = 0; i < results_.size(); ++i) {
        const Result& result = results_[i];
        const bool triedInVain = result.tries > 0 && result.outcome != ResizeOutcome::Written;
        // Only a cancel or a batch that no worker could start leaves a picture
        // untried, and a cancel was the user's own choice.
        const bool neverBegun = result.tries == 0 && !cancelled_;
        if (!triedInVain && !neverBegun) continue;
        FailedPicture picture{Utf8String::fromWide(pictures_[i].c_str(), 0), std::nullopt};
        if (triedInVain) picture.outcome = result.outcome;
        failed.push_back(picture);
    }
    return failed;
}
