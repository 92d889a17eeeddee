#pragma once

namespace halyx::cli {

// Exit statuses scripts can rely on.
enum ExitStatus : int {
    kDone = 0,
    kUsage = 1,        // bad command line or an invalid value; nothing was written
    kFileError = 2,    // a file cannot be read or written, or is too large
    kLinkFailure = 3,  // the radio did not answer after three attempts
    kReadBackDiffers = 4,
    kPortNotOpened = 5,
    kImagesDiffer = 6,      // diff: the two images are not the same
    kSomeRadiosFailed = 7,  // fleet: at least one radio did not succeed; the others did
    kWrongBand = 8,         // write: the radio is of the other band; nothing was written
};

}  // namespace halyx::cli
