#include "factory/tuning_value_file.h"

#include <algorithm>
#include <vector>

#include "files/raw_file.h"

namespace halyx {

FileResult SaveTuningValueFile(const std::filesystem::path& path, const TestValues& values) {
    return WriteFileAtomically(path,
                               std::vector<std::uint8_t>(values.bytes.begin(), values.bytes.end()));
}

FileResult LoadTuningValueFile(const std::filesystem::path& path, TestValues& values) {
    ReadResult read = ReadSmallFile(path, TestValues::kSize);
    if (read.result.ok()) {
        // ReadSmallFile already held the size to twelve; the bound is repeated here because
        // writing past the table would corrupt whatever follows it.
        std::copy_n(read.bytes.begin(), std::min(read.bytes.size(), values.bytes.size()),
                    values.bytes.begin());
    }
    return read.result;
}

}  // namespace halyx
