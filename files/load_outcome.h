// What opening a file or bytes of content came to, in words the user is shown: pictures and
// videos alike report through it.
#pragma once

#include <string>
#include <utility>

enum class LoadStatus {
    ok,
    missing,        // no file by that name
    unreadable,     // exists but cannot be opened or read (permissions, a folder, ...)
    truncated,      // the data stops before the content does
    corrupt,        // the data is there but does not decode
    unknownFormat,  // not a format the loader reads
    unsupported,    // a valid file of a kind the decoder does not read (12-bit JPEG, ...)
    tooLarge,       // more pixels or frames than the limits allow
    outOfMemory,
};

// The outcome of decoding or loading: ok, or a failure with the text the user is shown. A
// damaged file that still decodes is ok, with the damage named in warning.
struct LoadOutcome {
    LoadStatus status = LoadStatus::ok;
    std::string reason;   // empty when ok
    std::string warning;  // empty unless ok with damage

    bool ok() const { return status == LoadStatus::ok; }
};

inline LoadOutcome loadFailure(LoadStatus status, std::string reason) {
    return {status, std::move(reason), {}};
}
