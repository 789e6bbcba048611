#include "ui/save_failure_message.h"

#include "i18n/translation_table.h"

Utf8String saveFailureMessage(const SaveFailures& failures)
{
    if (!failures.any()) return Utf8String();
    const struct {
        bool failed;
        const char* key;
    } lines[] = {
        {failures.language, "The language could not be changed."},
        {failures.sizeList, "The list of sizes could not be saved."},
        {failures.menuItems, "The context-menu items could not be changed."},
    };
    const Utf8String lineEnd = Utf8String::fromAnsi("\n");
    Utf8String message;
    for (const auto& line : lines) {
        if (!line.failed) continue;
        message.append(translate(Utf8String::fromAnsi(line.key)));
        message.append(lineEnd);
    }
    // For all users the list, the language and the verbs are the machine's,
    // kept where only an administrator may write; for one user they are the
    // user's own, so what stands in the way is the files themselves.
    message.append(lineEnd);
    message.append(translate(Utf8String::fromAnsi(
        failures.forAllUsers
            ? "Administrator rights are needed: start Pellavo from the Start menu or with Run as administrator."
            : "Pellavo's folder or its files cannot be written: check that they are not read-only and that no "
              "other program holds them.")));
    return message;
}
