#include "batch/copy_folders.h"

#include "text/find_last.h"

std::vector<FolderCopies> copiesByFolder(const std::vector<Utf8String>& copies)
{
    std::vector<FolderCopies> groups;
    for (const Utf8String& copy : copies) {
        const int32_t slash = findLast(copy, Utf8String::fromAnsi("\\"));
        if (slash < 0) continue;
        const Utf8String folder = copy.mid(0, static_cast<uint32_t>(slash));
        const Utf8String name = copy.mid(static_cast<uint32_t>(slash) + 1, Utf8String::kRestOfText);
        FolderCopies* group = nullptr;
        for (FolderCopies& existing : groups) {
            if (existing.folder.compare(folder, true) == 0) group = &existing;
        }
        if (!group) {
            groups.push_back(FolderCopies{folder, {}});
            group = &groups.back();
        }
        group->names.push_back(name);
    }
    return groups;
}
