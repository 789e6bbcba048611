#include "batch/batch_account.h"

#include <algorithm>

#include "i18n/translation_table.h"
#include "text/find_last.h"
#include "text/number_format.h"

static Utf8String translated(const char* key)
{
    return translate(Utf8String::fromAnsi(key));
}

static Utf8String reasonKey(const std::optional<ResizeOutcome>& outcome)
{
    if (!outcome) return Utf8String::fromAnsi("could not be started");
    switch (*outcome) {
    case ResizeOutcome::NotAPicture:
        return Utf8String::fromAnsi("not a picture");
    case ResizeOutcome::Unreadable:
        return Utf8String::fromAnsi("cannot be read");
    case ResizeOutcome::Unwritable:
        return Utf8String::fromAnsi("cannot write beside it");
    case ResizeOutcome::TooLarge:
    case ResizeOutcome::OutOfMemory:
        return Utf8String::fromAnsi("too large");
    case ResizeOutcome::NoInstalledCodec:
        return Utf8String::fromAnsi("no installed codec reads this kind of picture");
    case ResizeOutcome::Written:
        break;
    }
    return Utf8String();
}

// The name after the path's last separator, which Windows writes either way.
static Utf8String shownName(const Utf8String& path)
{
    const int32_t slash = std::max(findLast(path, Utf8String::fromAnsi("\\")), findLast(path, Utf8String::fromAnsi("/")));
    const Utf8String name = path.mid(static_cast<uint32_t>(slash + 1), Utf8String::kRestOfText);
    if (name.charCount() <= kLongestShownName) return name;
    // The end keeps the extension and the numbers that tell photos apart.
    constexpr uint32_t kEnd = kLongestShownName / 3;
    constexpr uint32_t kStart = kLongestShownName - kEnd - 1;
    Utf8String shortened = name.mid(0, kStart);
    shortened.append(Utf8String::fromUtf8("\xE2\x80\xA6", 0));
    shortened.append(name.mid(name.charCount() - kEnd, kEnd));
    return shortened;
}

Utf8String batchAccount(uint32_t copies, uint32_t pictures, const std::vector<FailedPicture>& failures)
{
    const Utf8String lineEnd = Utf8String::fromAnsi("\n");
    const Utf8String countKey = Utf8String::fromAnsi("Copies made: %d of %d.");
    Utf8String account = formatNumbers(translate(countKey), countKey, {copies, pictures});
    account.append(lineEnd);
    account.append(translated("No copy was made of:"));
    const size_t named = std::min(failures.size(), kNamedFailures);
    for (size_t i = 0; i < named; ++i) {
        account.append(lineEnd);
        account.append(shownName(failures[i].path));
        account.append(Utf8String::fromUtf8(" \xE2\x80\x94 ", 0));
        account.append(translate(reasonKey(failures[i].outcome)));
    }
    if (failures.size() > named) {
        const Utf8String moreKey = Utf8String::fromAnsi("...and %d more.");
        account.append(lineEnd);
        account.append(formatNumbers(translate(moreKey), moreKey, {static_cast<uint32_t>(failures.size() - named)}));
    }
    return account;
}
