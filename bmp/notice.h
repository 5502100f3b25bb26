// The user-facing notice that stands where a modal message box would be: a caption and a text
// on standard error. Tests and tools can route notices elsewhere through one handler.
#pragma once

using NoticeHandler = void (*)(const char* caption, const char* text);

// Shows the notice through the current handler (standard error unless replaced).
void showNotice(const char* caption, const char* text);

// Routes later notices to handler; null restores standard error. Returns the previous handler.
NoticeHandler setNoticeHandler(NoticeHandler handler);
