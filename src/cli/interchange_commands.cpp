// halyx-cli import / export / diff: channel lists, channel sheets, whole configurations as text
// and image comparison.
#include <CLI/CLI.hpp>
#include <ctime>
#include <iostream>

#include "cli/cli_texts.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/image_argument.h"
#include "cli/json_output.h"
#include "cli/output_paths.h"
#include "cli/qt_commands.h"
#include "files/image_file.h"
#include "files/raw_file.h"
#include "interchange/channel_sheet.h"
#include "interchange/config_text.h"
#include "interchange/csv_export.h"
#include "interchange/csv_import.h"
#include "interchange/difference_text.h"
#include "interchange/image_compare.h"
#include "interchange/image_texts.h"

namespace halyx::cli {
namespace {

// A channel list is a few kilobytes; anything near this is not one.
constexpr std::uintmax_t kCsvSizeLimit = 16 * 1024 * 1024;

bool Saved(const FileResult& result) {
    if (!result.ok()) {
        PrintError(FileErrorTextEnglish(result));
    }
    return result.ok();
}

struct ImportOptions {
    std::string image, csv, yaml, base, output;
    bool clear = false, json = false;
};

constexpr const char* kImportUsage =
    "usage: halyx-cli import IMAGE.kda --csv LIST.csv [--clear] [-o OUT.kda] [--json], or "
    "halyx-cli import --yaml IN.halyx.yaml -o OUT.kda [--base IMAGE.kda] [--json]";

// A whole configuration: the text gives every byte, or the base gives what it leaves out.
int RunImportConfig(const ImportOptions& options) {
    if (!options.image.empty() || options.output.empty() || options.clear) {
        PrintError(kImportUsage);
        return kUsage;
    }
    if (const auto refused = RefuseClashingOutputs(
            {{"--yaml", options.yaml}, {"--base", options.base}}, {{"-o", options.output}})) {
        return *refused;
    }
    RadioImage base;
    if (!options.base.empty()) {
        if (const int status = LoadImageArgument(options.base, base); status != kDone) {
            return status;
        }
    }
    RadioImage image;
    if (const int status =
            LoadImageArgument(options.yaml, image, options.base.empty() ? nullptr : &base);
        status != kDone) {
        return status;
    }
    const std::string report =
        options.json ? ReadableJson({{"written", JsonText(options.output)}}) : std::string();
    if (const int status = SaveImageArgument(options.output, image); status != kDone) {
        return status;
    }
    std::cout << report;
    return kDone;
}

int RunImport(const ImportOptions& options) {
    if (options.csv.empty() == options.yaml.empty()) {
        PrintError("import: give one of --csv and --yaml; " + std::string(kImportUsage));
        return kUsage;
    }
    if (!options.yaml.empty()) {
        return RunImportConfig(options);
    }
    if (options.image.empty() || !options.base.empty()) {
        PrintError(kImportUsage);
        return kUsage;
    }
    // The image itself may be the output: that is the import in place, as without -o.
    if (const auto refused =
            RefuseClashingOutputs({{"--csv", options.csv}},
                                  {options.output.empty() ? NamedPath{"IMAGE.kda", options.image}
                                                          : NamedPath{"-o", options.output}})) {
        return *refused;
    }
    RadioImage image;
    if (const int status = LoadImageArgument(options.image, image); status != kDone) {
        return status;
    }
    const ReadResult read = ReadSmallFile(options.csv, kCsvSizeLimit);
    if (!Saved(read.result)) {
        return kFileError;
    }
    const CsvImport imported = ImportChannelsCsv(
        image,
        std::string_view(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size()),
        {.clearFirst = options.clear});
    if (imported.error) {
        PrintError(options.csv + ": line " + std::to_string(imported.error->line) + ": " +
                   imported.error->what + "; nothing was written");
        return kUsage;
    }
    for (const ImportNote& note : imported.notes) {
        PrintError("warning: " + options.csv + ", " + DescribeNote(note));
    }
    const std::string target = options.output.empty() ? options.image : options.output;
    // The report is made before the image is replaced: nothing after the save may fail.
    std::string report;
    if (options.json) {
        Json notes = Json::array();
        for (const ImportNote& note : imported.notes) {
            notes.push_back(
                {{"line", note.line}, {"column", note.column}, {"message", note.message}});
        }
        report = ReadableJson(
            {{"written", JsonText(target)}, {"channels", imported.channels}, {"notes", notes}});
    }
    if (const int status = SaveImageArgument(target, imported.image); status != kDone) {
        return status;
    }
    std::cout << report;
    return kDone;
}

// Today's local date as YYYY-MM-DD, the date a printed sheet carries.
std::string TodayIsoDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[sizeof "YYYY-MM-DD"] = {};
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

struct ExportOptions {
    std::string image, csv, pdf, html, yaml, page = "a4";
};

int RunExport(const ExportOptions& options, CommandContext& context) {
    if (options.csv.empty() && options.pdf.empty() && options.html.empty() &&
        options.yaml.empty()) {
        PrintError("export: give at least one of --csv, --pdf, --html and --yaml");
        return kUsage;
    }
    if (const auto refused =
            RefuseClashingOutputs({{"IMAGE.kda", options.image}}, {{"--yaml", options.yaml},
                                                                   {"--csv", options.csv},
                                                                   {"--html", options.html},
                                                                   {"--pdf", options.pdf}})) {
        return *refused;
    }
    RadioImage image;
    if (const int status = LoadImageArgument(options.image, image); status != kDone) {
        return status;
    }
    if (!options.yaml.empty() &&
        !Saved(WriteFileAtomically(options.yaml, WriteConfigText(image)))) {
        return kFileError;
    }
    if (!options.csv.empty() &&
        !Saved(WriteFileAtomically(options.csv, ExportChannelsCsv(image)))) {
        return kFileError;
    }
    if (options.pdf.empty() && options.html.empty()) {
        return kDone;
    }
    const CliTexts texts(ChooseOutputLanguage(context.lang));
    const SheetSource source{std::filesystem::path(options.image).filename().string(),
                             TodayIsoDate()};
    const std::string html = ChannelSheetHtml(image, source, texts.texts);
    if (!options.html.empty() && !Saved(WriteFileAtomically(options.html, html))) {
        return kFileError;
    }
    if (!options.pdf.empty()) {
        const QtCommands* qt = LoadQtCommands();
        if (qt == nullptr ||
            !Saved(qt->writeSheetPdf(html, options.pdf, options.page == "letter", context))) {
            return kFileError;
        }
    }
    return kDone;
}

struct DiffOptions {
    std::string a, b;
    bool json = false;
};

Json SettingValue(const SettingDifference& d, const std::string& value) {
    return d.isText ? JsonText(value) : Json(std::stoi(value));
}

std::string DiffJson(const ImageDifferences& d) {
    Json settings = Json::array(), channels = Json::array(), bytes = Json::array();
    for (const SettingDifference& s : d.settings) {
        settings.push_back(
            {{"name", s.name}, {"a", SettingValue(s, s.a)}, {"b", SettingValue(s, s.b)}});
    }
    for (const ChannelDifference& c : d.channels) {
        channels.push_back({{"channel", c.channel}, {"field", c.field}, {"a", c.a}, {"b", c.b}});
    }
    for (const ByteRangeDifference& r : d.bytes) {
        bytes.push_back(
            {{"first", r.first}, {"last", r.last}, {"a", HexBytes(r.a)}, {"b", HexBytes(r.b)}});
    }
    Json document = {{"identical", d.identical()},
                     {"settings", settings},
                     {"channels", channels},
                     {"bytes", bytes}};
    if (d.lengthDiffers) {
        document["imageLength"] = {{"a", d.lengthA}, {"b", d.lengthB}};
    }
    return ReadableJson(document);
}

int RunDiff(const DiffOptions& options, const CommandContext& context) {
    RadioImage a, b;
    if (const int status = LoadImageArgument(options.a, a); status != kDone) {
        return status;
    }
    if (const int status = LoadImageArgument(options.b, b); status != kDone) {
        return status;
    }
    const ImageDifferences differences = CompareImages(a, b);
    if (options.json) {
        std::cout << DiffJson(differences);
    } else {
        const CliTexts texts(ChooseOutputLanguage(context.lang));
        for (const std::string& line : DifferenceLines(differences, texts.texts)) {
            PrintOut(line + "\n");
        }
    }
    return differences.identical() ? kDone : kImagesDiffer;
}

}  // namespace

void AddInterchangeCommands(CLI::App& app, CommandContext& context) {
    static ImportOptions import;
    CLI::App* importCommand = app.add_subcommand(
        "import",
        "store the channels of a CSV channel list (what could not be taken as it was is "
        "reported on standard error), or make an image of a whole configuration text");
    importCommand->add_option("IMAGE.kda", import.image, "image file (with --csv)");
    importCommand->add_option("--csv", import.csv, "the channel list");
    importCommand->add_option("--yaml", import.yaml,
                              "a whole configuration (*.halyx.yaml); needs -o");
    importCommand->add_option("--base", import.base,
                              "with --yaml: the image whose bytes fill what the text leaves out");
    importCommand->add_flag("--clear", import.clear, "empty all 20 channels first");
    importCommand->add_option("-o", import.output, "write the result here instead");
    importCommand->add_flag("--json", import.json, "the report as one JSON object");
    importCommand->callback([&context] { context.status = RunImport(import); });

    static ExportOptions exportOptions;
    CLI::App* exportCommand = app.add_subcommand(
        "export",
        "the channels as a CSV channel list, the channel sheet as PDF or HTML, the whole "
        "configuration as text");
    exportCommand->add_option("IMAGE.kda", exportOptions.image, "image file")->required();
    exportCommand->add_option("--csv", exportOptions.csv, "channel list file");
    exportCommand->add_option("--pdf", exportOptions.pdf, "channel sheet as PDF");
    exportCommand->add_option("--html", exportOptions.html, "channel sheet as HTML");
    exportCommand->add_option("--yaml", exportOptions.yaml,
                              "the whole configuration as text (*.halyx.yaml)");
    exportCommand->add_option("--page", exportOptions.page, "PDF page size")
        ->check(CLI::IsMember({"a4", "letter"}));
    exportCommand->callback([&context] { context.status = RunExport(exportOptions, context); });

    static DiffOptions diff;
    CLI::App* diffCommand =
        app.add_subcommand("diff",
                           "what differs between two images: settings, channel fields, "
                           "other bytes (exit 0 identical, 6 different)");
    diffCommand->add_option("A.kda", diff.a, "first image")->required();
    diffCommand->add_option("B.kda", diff.b, "second image")->required();
    diffCommand->add_flag("--json", diff.json, "the differences as one JSON object");
    diffCommand->callback([&context] { context.status = RunDiff(diff, context); });
}

}  // namespace halyx::cli
