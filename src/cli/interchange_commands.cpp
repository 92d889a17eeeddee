// halyx-cli import / export / diff: channel lists, channel sheets and image comparison.
#include <CLI/CLI.hpp>
#include <ctime>
#include <iostream>

#include "cli/cli_texts.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/json_output.h"
#include "cli/qt_commands.h"
#include "files/image_file.h"
#include "files/raw_file.h"
#include "interchange/channel_sheet.h"
#include "interchange/csv_export.h"
#include "interchange/csv_import.h"
#include "interchange/difference_text.h"
#include "interchange/image_compare.h"
#include "interchange/image_texts.h"

namespace halyx::cli {
namespace {

// A channel list is a few kilobytes; anything near this is not one.
constexpr std::uintmax_t kCsvSizeLimit = 16 * 1024 * 1024;

bool Load(const std::string& path, RadioImage& image) {
    const FileResult loaded = LoadImageFile(path, image);
    if (!loaded.ok()) {
        PrintError(FileErrorTextEnglish(loaded));
    }
    return loaded.ok();
}

bool Saved(const FileResult& result) {
    if (!result.ok()) {
        PrintError(FileErrorTextEnglish(result));
    }
    return result.ok();
}

struct ImportOptions {
    std::string image, csv, output;
    bool clear = false, json = false;
};

int RunImport(const ImportOptions& options) {
    RadioImage image;
    if (!Load(options.image, image)) {
        return kFileError;
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
    if (!Saved(SaveImageFile(target, imported.image))) {
        return kFileError;
    }
    if (options.json) {
        Json notes = Json::array();
        for (const ImportNote& note : imported.notes) {
            notes.push_back(
                {{"line", note.line}, {"column", note.column}, {"message", note.message}});
        }
        std::cout << ReadableJson(
            {{"written", JsonText(target)}, {"channels", imported.channels}, {"notes", notes}});
    }
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
    std::string image, csv, pdf, html, page = "a4";
};

int RunExport(const ExportOptions& options, CommandContext& context) {
    if (options.csv.empty() && options.pdf.empty() && options.html.empty()) {
        PrintError("export: give at least one of --csv, --pdf and --html");
        return kUsage;
    }
    RadioImage image;
    if (!Load(options.image, image)) {
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
    if (!Load(options.a, a) || !Load(options.b, b)) {
        return kFileError;
    }
    const ImageDifferences differences = CompareImages(a, b);
    if (options.json) {
        std::cout << DiffJson(differences);
    } else {
        const CliTexts texts(ChooseOutputLanguage(context.lang));
        for (const std::string& line : DifferenceLines(differences, texts.texts)) {
            std::cout << line << "\n";
        }
    }
    return differences.identical() ? kDone : kImagesDiffer;
}

}  // namespace

void AddInterchangeCommands(CLI::App& app, CommandContext& context) {
    static ImportOptions import;
    CLI::App* importCommand = app.add_subcommand(
        "import",
        "store the channels of a CSV channel list; what could not be taken as it was "
        "is reported on standard error");
    importCommand->add_option("IMAGE.kda", import.image, "image file")->required();
    importCommand->add_option("--csv", import.csv, "the channel list")->required();
    importCommand->add_flag("--clear", import.clear, "empty all 20 channels first");
    importCommand->add_option("-o", import.output, "write the result here instead");
    importCommand->add_flag("--json", import.json, "the report as one JSON object");
    importCommand->callback([&context] { context.status = RunImport(import); });

    static ExportOptions exportOptions;
    CLI::App* exportCommand = app.add_subcommand(
        "export", "the channels as a CSV channel list, the channel sheet as PDF or HTML");
    exportCommand->add_option("IMAGE.kda", exportOptions.image, "image file")->required();
    exportCommand->add_option("--csv", exportOptions.csv, "channel list file");
    exportCommand->add_option("--pdf", exportOptions.pdf, "channel sheet as PDF");
    exportCommand->add_option("--html", exportOptions.html, "channel sheet as HTML");
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
