#include "app/batch_server.h"

#include <windows.h>

#include <deque>
#include <memory>
#include <vector>

#include "app/message_loop.h"
#include "base/win32_handles.h"
#include "batch/batch_account.h"
#include "batch/copy_openings.h"
#include "batch/picture_batch.h"
#include "i18n/language_selection.h"
#include "shell/batch_drop_target.h"
#include "shell/installed_extensions.h"
#include "shell/registration_scope.h"
#include "shell/picture_extensions.h"
#include "shell/server_class.h"
#include "shell/server_lifetime.h"
#include "ui/progress_dialog.h"

namespace {

// The server's one thread owns all of this: COM calls arrive on it (the
// apartment is single-threaded) and so do the workers' messages.
Preset servedPreset;
// The extensions that have the verbs, read once when the server starts.
std::vector<Utf8String> pictureExtensions;
std::deque<std::vector<std::wstring>> waitingDrops;
std::unique_ptr<PictureBatch> runningBatch;

void startNextBatch();

// A batch that left pictures without a copy says which and why, and shows
// its copies only once that is read.
void onBatchFinished(HWND dialog)
{
    std::vector<std::wstring> copies = runningBatch->copies();
    const std::vector<FailedPicture> failures = runningBatch->failures();
    const auto pictures = static_cast<uint32_t>(runningBatch->total());
    runningBatch.reset();
    if (failures.empty()) {
        DestroyWindow(dialog);
        openCopies(copies);
    } else {
        // The account holds the server until it is read.
        addServerReference();
        const auto made = static_cast<uint32_t>(copies.size());
        showBatchAccount(dialog, batchAccount(made, pictures, failures), [copies = std::move(copies)] {
            openCopies(copies);
            releaseServerReference();
        });
    }
    startNextBatch();
    releaseServerReference();
}

// Runs the pictures' batch with its progress window, which holds the server
// until the batch ends. When the window cannot be made, gives the batch back,
// never begun.
std::unique_ptr<PictureBatch> startBatch(std::vector<std::wstring> pictures)
{
    auto batch = std::make_unique<PictureBatch>(std::move(pictures), servedPreset);
    addServerReference();
    if (!startBatchWithProgress(*batch, onBatchFinished)) {
        releaseServerReference();
        return batch;
    }
    runningBatch = std::move(batch);
    return nullptr;
}

// Drops that come while a batch runs wait for it, so that the pictures in
// memory stay as few as the workers. Explorer was told that a waiting drop
// was taken, so one whose window cannot be made says what became of it in a
// message box, which holds the server while it shows.
void startNextBatch()
{
    while (!runningBatch && !waitingDrops.empty()) {
        std::vector<std::wstring> pictures = std::move(waitingDrops.front());
        waitingDrops.pop_front();
        const std::unique_ptr<PictureBatch> unstarted = startBatch(std::move(pictures));
        if (!unstarted) return;
        addServerReference();
        showBatchAccountAlone(batchAccount(0, static_cast<uint32_t>(unstarted->total()), unstarted->failures()));
        releaseServerReference();
    }
}

// Other files of a mixed selection are left alone, like the verbs' types.
// With no batch running, the drop starts at once; false when it could not,
// which Explorer hears.
bool receiveDrop(std::vector<std::wstring> files)
{
    std::vector<std::wstring> pictures;
    for (std::wstring& file : files) {
        if (hasPictureExtension(pictureExtensions, Utf8String::fromWide(file.c_str(), 0)))
            pictures.push_back(std::move(file));
    }
    if (pictures.empty()) return false;
    if (!runningBatch) return !startBatch(std::move(pictures));
    waitingDrops.push_back(std::move(pictures));
    return true;
}

}  // namespace

void runBatchServer(const Utf8String& arguments)
{
    if (!parseServeArguments(arguments, servedPreset)) return;
    CLSID classId;
    const bool forAllUsers = registrationScope() == RegistrationScope::AllUsers;
    if (FAILED(CLSIDFromString(serverClassId(servedPreset, forAllUsers).toWide().units(), &classId))) return;
    const ComApartment apartment;
    // The progress window speaks the interface's language.
    loadCurrentTranslation();
    pictureExtensions = installedPictureExtensions();

    static BatchDropTargetFactory factory(receiveDrop);
    DWORD registration = 0;
    if (FAILED(CoRegisterClassObject(classId, &factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE | REGCLS_SUSPENDED,
                                     &registration)))
        return;
    CoResumeClassObjects();
    lingerUntilUsed();
    // The running batch's progress and any account still open each have
    // their keyboard handling (Esc cancels, Enter is OK).
    runDialogsMessageLoop();
    CoRevokeClassObject(registration);
}
