#pragma once

#include "files/file_result.h"

#ifndef _WIN32
#include <sys/stat.h>

namespace halyx {

// What a file mode from stat() names, in the terms a refusal reports.
inline FileKind KindOfMode(mode_t mode) {
    if (S_ISREG(mode)) {
        return FileKind::Regular;
    }
    if (S_ISDIR(mode)) {
        return FileKind::Folder;
    }
    if (S_ISFIFO(mode)) {
        return FileKind::NamedPipe;
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return FileKind::Device;
    }
    if (S_ISSOCK(mode)) {
        return FileKind::Socket;
    }
    return FileKind::Other;
}

}  // namespace halyx
#endif
