#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "batch/batch_account.h"
#include "imaging/resize_outcome.h"
#include "settings/preset.h"

// The pictures of one drop, resized by a few worker threads (as many as
// cores, at most 4), so that no more pictures than that are in memory at
// once. Each worker makes its own GDI+ objects and text; paths cross threads
// only as std::wstring, since the program's text type is not for sharing.
// A picture that runs out of memory beside the others is tried once more
// after them, alone. After every picture a worker posts kProgressMessage to
// the window; the last worker to stop posts kFinishedMessage.
class PictureBatch {
public:
    static constexpr UINT kProgressMessage = WM_APP + 1;
    static constexpr UINT kFinishedMessage = WM_APP + 2;

    PictureBatch(std::vector<std::wstring> pictures, const Preset& preset);
    PictureBatch(const PictureBatch&) = delete;
    PictureBatch& operator=(const PictureBatch&) = delete;
    // Waits for the workers: the pictures in hand are finished, none is begun.
    ~PictureBatch();

    // Starts the workers, which report to the window; false when none started,
    // and then none reports.
    bool start(HWND window);
    // Lets the pictures in hand finish and begins no other.
    void cancel() { cancelled_ = true; }

    size_t total() const { return pictures_.size(); }
    size_t finished() const { return finished_; }
    // Call these after kFinishedMessage. The copies written, in the order of
    // the pictures; the pictures that gave none, in the same order: those
    // tried, and, unless the batch was cancelled, those never begun.
    std::vector<std::wstring> copies();
    std::vector<FailedPicture> failures();

private:
    struct Result {
        int tries = 0;
        ResizeOutcome outcome = ResizeOutcome::Written;
        std::wstring copy;
    };

    void work();
    void resize(size_t index);
    void retryAlone();

    const std::vector<std::wstring> pictures_;
    const Preset preset_;
    HWND window_ = nullptr;
    std::atomic<size_t> next_{0};
    std::atomic<size_t> finished_{0};
    std::atomic<bool> cancelled_{false};
    // Guards the count of running workers; held while they start, so that
    // none counts itself out before the number that started is known.
    std::mutex runningLock_;
    size_t running_ = 0;
    size_t workerCount_ = 0;  // as planned, before any started
    std::mutex resultsLock_;
    std::vector<Result> results_;
    std::vector<std::thread> workers_;
};

// How many workers a batch of that many pictures gets.
size_t batchWorkerCount(size_t pictureCount);
