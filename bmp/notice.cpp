// Writes notices as "Caption: text" lines on standard error, unless a handler was set.
#include "bmp/notice.h"

#include <cstdio>
#include <cstring>

namespace {

void printNotice(const char* caption, const char* text) {
    const std::size_t length = std::strlen(text);
    // Some texts carry their own line break; every notice ends with exactly one.
    const char* ending = length > 0 && text[length - 1] == '\n' ? "" : "\n";
    std::fprintf(stderr, "%s: %s%s", caption, text, ending);
    std::fflush(stderr);
}

NoticeHandler currentHandler = printNotice;

}  // namespace

void showNotice(const char* caption, const char* text) {
    currentHandler(caption != nullptr ? caption : "", text != nullptr ? text : "");
}

NoticeHandler setNoticeHandler(NoticeHandler handler) {
    const NoticeHandler previous = currentHandler;
    currentHandler = handler != nullptr ? handler : printNotice;
    return previous;
}
