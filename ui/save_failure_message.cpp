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
    // The list, the language and the verbs are the machine's, kept where
    // only an administrator may write.
    message.append(lineEnd);
    message.append(translate(Utf8String::fromAnsi(
        "Administrator rights are needed: start Pellavo from the Start menu or with Run as administrator.")));
    return message;
}
