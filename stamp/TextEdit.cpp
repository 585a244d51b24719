#include "stamp/TextEdit.h"

// The changed lines are few, but the file around them may be large: one copy of it.
std::string ApplyEdits(std::string_view text, const std::vector<TextEdit>& edits) {
    size_t added = 0;
    for (const TextEdit& edit : edits)
        added += static_cast<size_t>(edit.text.GetLength());
    std::string out;
    out.reserve(text.size() + added);
    int copied = 0;
    for (const TextEdit& edit : edits) {
        out.append(
            text.substr(static_cast<size_t>(copied), static_cast<size_t>(edit.begin - copied)));
        out.append(edit.text.View());
        copied = edit.end;
    }
    out.append(text.substr(static_cast<size_t>(copied)));
    return out;
}
