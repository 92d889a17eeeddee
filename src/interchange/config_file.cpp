#include "interchange/config_file.h"

#include "files/image_file.h"
#include "files/raw_file.h"
#include "image/header_values.h"

namespace halyx {

bool IsConfigTextPath(const std::filesystem::path& path) {
    const std::string extension = LowerAscii(path.extension().string());
    return extension == ".yaml" || extension == ".yml";
}

ImageLoad LoadImageOrConfigFile(const std::filesystem::path& path, RadioImage& image,
                                const RadioImage* base) {
    if (!IsConfigTextPath(path)) {
        return {LoadImageFile(path, image), {}};
    }
    const ReadResult read = ReadSmallFile(path, kConfigTextLimit);
    if (!read.result.ok()) {
        return {read.result, {}};
    }
    ConfigRead config = ReadConfigText(
        std::string_view(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size()),
        base);
    if (!config.ok()) {
        return {{}, std::move(config.problems)};
    }
    image = config.image;
    return {};
}

FileResult SaveImageOrConfigFile(const std::filesystem::path& path, const RadioImage& image) {
    if (IsConfigTextPath(path)) {
        return WriteFileAtomically(path, WriteConfigText(image));
    }
    return SaveImageFile(path, image);
}

std::vector<std::string> ProblemLines(const std::string& file,
                                      const std::vector<ConfigProblem>& problems) {
    std::vector<std::string> lines;
    lines.reserve(problems.size());
    for (const ConfigProblem& problem : problems) {
        lines.push_back(DescribeConfigProblem(file, problem));
    }
    return lines;
}

}  // namespace halyx
