// The libraries' side of what users read: error codes in words, and their own log kept quiet,
// since the program reports each failure itself, once, in its own words.
#pragma once

#include <string>

std::string libavErrorText(int error);

// Silences the libraries' log on standard error; called before any other libav* call.
void quietLibavLog();
