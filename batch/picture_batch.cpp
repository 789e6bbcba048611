#include "batch/picture_batch.h"

#include <algorithm>
#include <new>
#include <system_error>

#include "imaging/resize_picture.h"
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

PictureBatch::PictureBatch(std::vector<std::wstring> pictures, const ImageSize& requested)
    : pictures_(std::move(pictures)), requested_(requested), copies_(pictures_.size())
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
    const size_t count = batchWorkerCount(pictures_.size());
    running_ = count;
    for (size_t i = 0; i < count; ++i) {
        try {
            workers_.emplace_back(&PictureBatch::work, this);
        } catch (const std::system_error&) {
            // Fewer workers do the same work; the ones not started count as
            // stopped, and if the started ones have all stopped already, the
            // news falls to this thread.
            if ((running_ -= count - i) == 0 && i > 0) PostMessageW(window_, kFinishedMessage, 0, 0);
            break;
        }
    }
    return !workers_.empty();
}

// The copy's path, or empty when none was written. Out of memory on one
// picture costs that picture, not the batch.
static std::wstring resizeOne(const std::wstring& picture, const ImageSize& requested)
{
    try {
        Utf8String copy;
        if (resizePictureFile(Utf8String::fromWide(picture.c_str(), 0), requested, copy) != ResizeOutcome::Written) return {};
        return copy.toWide().units();
    } catch (const std::bad_alloc&) {
        return {};
    }
}

void PictureBatch::work()
{
    while (!cancelled_) {
        const size_t index = next_++;
        if (index >= pictures_.size()) break;
        std::wstring copy = resizeOne(pictures_[index], requested_);
        {
            const std::lock_guard<std::mutex> lock(copiesLock_);
            copies_[index].swap(copy);
        }
        ++finished_;
        PostMessageW(window_, kProgressMessage, 0, 0);
    }
    if (--running_ == 0) PostMessageW(window_, kFinishedMessage, 0, 0);
}

std::vector<std::wstring> PictureBatch::copies()
{
    const std::lock_guard<std::mutex> lock(copiesLock_);
    std::vector<std::wstring> written;
    for (const std::wstring& copy : copies_) {
        if (!copy.empty()) written.push_back(copy);
    }
    return written;
}
