// halyx-cli read / write / tuning: the radio exchanges of the window, on the command line.
#include <CLI/CLI.hpp>
#include <QCoreApplication>
#include <charconv>
#include <iostream>
#include <memory>
#include <string_view>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/image_argument.h"
#include "cli/operation_log.h"
#include "cli/option_parser.h"
#include "cli/output_paths.h"
#include "cli/radio_session.h"
#include "cli/write_checks.h"
#include "files/image_file.h"
#include "files/raw_file.h"
#include "image/write_target.h"
#include "link/block_map.h"
#include "link/commands.h"
#include "link/radio_read_exchange.h"
#include "link/radio_write_exchange.h"
#include "link/tuning_read_exchange.h"
#include "link/tuning_write_exchange.h"
#include "settings/file_layout.h"

namespace halyx::cli {
namespace {

// Progress of a read or write runs up to the last record block's number.
constexpr int kRecordBlocksEnd = kLastRecordBlock;
constexpr int kTuningProgressEnd = 20;  // progress of a tuning write runs 1..20
constexpr std::uint32_t kLinkBaud = SerialLineSettings::kLinkBaudRate;

std::optional<PortText> PortOption(const ParsedOptions& options) {
    const auto port = ParsePortText(options.value("--port"));
    if (!port) {
        PrintError("--port: '" + options.value("--port") +
                   "' is not a port; use COMn, n, a device path, rfc2217://HOST:PORT or "
                   "tcp://HOST:PORT");
    }
    return port;
}

std::optional<std::uint32_t> BaudOption(const ParsedOptions& options) {
    if (!options.has("--baud")) {
        return kLinkBaud;
    }
    const std::string text = options.value("--baud");
    for (std::uint32_t baud : {9600u, 19200u, 38400u, 57600u}) {
        if (text == std::to_string(baud)) {
            return baud;
        }
    }
    PrintError("--baud: '" + text + "' is not allowed; use 9600, 19200, 38400 or 57600");
    return std::nullopt;
}

struct WriteFlags {
    bool readFirst = true;
    bool keepIdentity = false;
};

int StatusOf(ExchangeResult result, const std::string& what) {
    switch (result) {
        case ExchangeResult::Success:
            return kDone;
        case ExchangeResult::ReadBackDiffers:
            PrintError(what + ": the records read back differ from the image");
            return kReadBackDiffers;
        case ExchangeResult::LinkFailure:
            break;
    }
    PrintError(what + ": the radio did not answer after three attempts");
    return kLinkFailure;
}

// No file the command writes (its -o, its traffic log, the audit log) may be one it reads, and
// its -o must be a place a file can be saved.
std::optional<int> RefuseClashingFiles(const ParsedOptions& options,
                                       const std::vector<std::string>& inputOptions,
                                       const std::vector<std::string>& outputOptions) {
    std::vector<NamedPath> inputs, outputs;
    for (const std::string& positional : options.positionals) {
        inputs.push_back({"the argument", positional});
    }
    for (const std::string& name : inputOptions) {
        inputs.push_back({name, options.value(name)});
    }
    for (const std::string& name : outputOptions) {
        outputs.push_back({name, options.value(name)});
    }
    outputs.push_back(AuditLogOutput(ResolveHistoryPlaces(CurrentFileLayout())));
    if (const auto refused = RefuseClashingOutputs(inputs, outputs)) {
        return refused;
    }
    // What is read is saved only after the radio was talked to: a place that cannot take the
    // file is found out now, before the first frame.
    if (options.has("-o")) {
        if (const auto why = WhyNotWritable(options.value("-o"))) {
            PrintError("-o: " + options.value("-o") + " " + *why + "; nothing was sent");
            return kUsage;
        }
    }
    return std::nullopt;
}

// The image a read starts from: bytes the radio never sends (41..66, 607..) come from it.
std::optional<RadioImage> BaseImage(const ParsedOptions& options) {
    RadioImage image;
    if (options.has("--base")) {
        if (FileResultStatus(LoadImageFile(options.value("--base"), image)) != kDone) {
            return std::nullopt;
        }
        return image;
    }
    // The window's default image (an installed program falls back to the user's and the shipped
    // one); none at all: start from the all-zero image.
    LoadImageFile(DefaultImagePath(CurrentFileLayout()), image);
    return image;
}

int RunRead(const ParsedOptions* options, bool backup) {
    const std::string usage =
        "usage: halyx-cli read --port PORT -o OUT.kda [--base IMAGE.kda] [--log FILE] "
        "[--no-backup]";
    if (!options->has("--port") || !options->has("-o") || !options->positionals.empty()) {
        PrintError(usage);
        return kUsage;
    }
    if (const auto refused = RefuseClashingFiles(*options, {"--base"}, {"-o", "--log"})) {
        return *refused;
    }
    const auto port = PortOption(*options);
    auto image = BaseImage(*options);
    if (!port) {
        return kUsage;
    }
    if (!image) {
        return kFileError;
    }
    RadioSession session("read", kRecordBlocksEnd);
    if (!session.OpenLog(options->value("--log"))) {
        return kFileError;
    }
    const OperationLog record("read", *port, backup);
    if (!session.OpenPort(*port, kLinkBaud)) {
        record.Record("port-error");
        return kPortNotOpened;
    }
    RadioReadExchange exchange(session.link(), *image, session.runner());
    const ExchangeResult result = session.Run(exchange);
    if (session.stopped()) {
        record.Record("cancelled");
        return session.StoppedStatus();
    }
    const int status = StatusOf(result, "read");
    // The backup comes first: should OUT.kda fail to save, what was read is still kept.
    record.Record(OperationLog::ResultName(result, session.portLost()),
                  status == kDone ? &*image : nullptr);
    return status != kDone ? status : FileResultStatus(SaveImageFile(options->value("-o"), *image));
}

int RunWrite(const ParsedOptions* options, const WriteFlags& flags) {
    const std::string usage =
        "usage: halyx-cli write --port PORT IMAGE.kda [--log FILE] [--no-read-first] "
        "[--keep-identity]";
    if (!options->has("--port") || options->positionals.size() != 1) {
        PrintError(usage);
        return kUsage;
    }
    if (const auto refused = RefuseClashingFiles(*options, {}, {"--log"})) {
        return *refused;
    }
    const auto port = PortOption(*options);
    if (!port) {
        return kUsage;
    }
    RadioImage image;
    if (const int status = LoadImageArgument(options->positionals[0], image); status != kDone) {
        return status;
    }
    RadioSession session("write", kRecordBlocksEnd);
    if (!session.OpenLog(options->value("--log"))) {
        return kFileError;
    }
    const OperationLog record("write", *port, false);
    if (!session.OpenPort(*port, kLinkBaud)) {
        record.Record("port-error");
        return kPortNotOpened;
    }
    std::string backupPath;
    if (flags.readFirst) {
        auto before = ReadBeforeWrite(session, *port, image, [](ExchangeResult result) {
            return StatusOf(result, "read before the write");
        });
        if (const int* status = std::get_if<int>(&before)) {
            return *status;
        }
        const RadioBeforeWrite& radio = std::get<RadioBeforeWrite>(before);
        backupPath = radio.backupPath;
        const WriteTarget target = CheckWriteTarget(radio.image, image);
        if (!target.bandMatches()) {
            record.Record("wrong-band");
            PrintError("write refused: the radio on " + options->value("--port") + " is a " +
                       std::string(BandName(target.radioBand)) + " radio and " +
                       options->positionals[0] + " is for " +
                       std::string(BandName(target.imageBand)) +
                       "; nothing was written (the radio's band is its hardware)");
            return kWrongBand;
        }
        SettleIdentity(target, radio.image, flags.keepIdentity, image);
    }
    RadioWriteExchange exchange(session.link(), image, session.runner());
    const ExchangeResult result = session.Run(exchange);
    if (session.stopped()) {
        record.Record("cancelled");
        return session.StoppedStatus();
    }
    const bool partly = result == ExchangeResult::LinkFailure && exchange.failedPartWritten();
    record.Record(partly ? std::string(kPartlyWrittenResult)
                         : OperationLog::ResultName(result, session.portLost()),
                  nullptr, &image);
    const int status = StatusOf(result, "write");
    if (partly) {
        ReportPartlyWritten(options->value("--port"), backupPath);
    }
    return status;
}

int RunTuningRead(const ParsedOptions& options, const PortText& port, std::uint32_t baud) {
    if (!options.has("-o") || !options.positionals.empty()) {
        PrintError("usage: halyx-cli tuning read --port PORT [--baud B] -o VALUES.dat");
        return kUsage;
    }
    RadioSession session("tuning read", 0);
    if (!session.OpenLog(options.value("--log"))) {
        return kFileError;
    }
    const OperationLog record("tuning read", port, false);
    if (!session.OpenPort(port, baud)) {
        record.Record("port-error");
        return kPortNotOpened;
    }
    TestValues values;
    TuningReadExchange exchange(session.link(), values, session.runner());
    const ExchangeResult result = session.Run(exchange);
    if (session.stopped()) {
        record.Record("cancelled");
        return session.StoppedStatus();
    }
    record.Record(OperationLog::ResultName(result, session.portLost()));
    const int status = StatusOf(result, "tuning read");
    if (status != kDone) {
        return status;
    }
    return FileResultStatus(
        WriteFileAtomically(options.value("-o"), {values.bytes.begin(), values.bytes.end()}));
}

int RunTuningWrite(const ParsedOptions& options, const PortText& port, std::uint32_t baud) {
    if (!options.has("--image") || options.positionals.size() != 1) {
        PrintError(
            "usage: halyx-cli tuning write --port PORT [--baud B] VALUES.dat --image IMAGE.kda");
        return kUsage;
    }
    // A tuning file holds exactly twelve bytes; anything longer is not one.
    const ReadResult read = ReadSmallFile(options.positionals[0], TestValues::kSize);
    if (FileResultStatus(read.result) != kDone) {
        return kFileError;
    }
    TestValues values;
    std::copy(read.bytes.begin(), read.bytes.end(), values.bytes.begin());
    RadioImage image;
    if (FileResultStatus(LoadImageFile(options.value("--image"), image)) != kDone) {
        return kFileError;
    }
    RadioSession session("tuning write", kTuningProgressEnd);
    if (!session.OpenLog(options.value("--log"))) {
        return kFileError;
    }
    const OperationLog record("tuning write", port, false);
    if (!session.OpenPort(port, baud)) {
        record.Record("port-error");
        return kPortNotOpened;
    }
    TuningWriteExchange exchange(session.link(), image, values, session.runner());
    const ExchangeResult result = session.Run(exchange);
    if (session.stopped()) {
        record.Record("cancelled");
        return session.StoppedStatus();
    }
    record.Record(OperationLog::ResultName(result, session.portLost()), nullptr, &image);
    return StatusOf(result, "tuning write");
}

std::optional<std::uint8_t> ByteArgument(const std::string& text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > 255 || text.empty()) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

int RunTuningPoint(const ParsedOptions& options, const PortText& port, std::uint32_t baud) {
    const std::string usage =
        "usage: halyx-cli tuning point --port PORT [--baud B] N LOW MID HIGH (0..255 each)";
    if (options.positionals.size() != 4) {
        PrintError(usage);
        return kUsage;
    }
    TestPoint point;
    point.bytes[TestPoint::kMarkerAt] = TestPoint::kMarker;
    for (std::size_t i = 0; i < 4; ++i) {
        const auto byte = ByteArgument(options.positionals[i]);
        if (!byte) {
            PrintError("'" + options.positionals[i] + "' is not a byte; " + usage);
            return kUsage;
        }
        point.bytes[i == 0 ? TestPoint::kNumberAt : TestPoint::kFirstValueAt + i - 1] = *byte;
    }
    RadioSession session("tuning point", 0);
    if (!session.OpenLog(options.value("--log"))) {
        return kFileError;
    }
    if (!session.OpenPort(port, baud)) {
        return kPortNotOpened;
    }
    // A test point is answered by nothing; closing the port waits for the frame to go out.
    SendTestPoint(session.link(), point);
    return kDone;
}

int RunTuning(const std::string& what, const ParsedOptions& options) {
    if (!options.has("--port")) {
        PrintError("usage: halyx-cli tuning read|write|point --port PORT [--baud B] ...");
        return kUsage;
    }
    if (const auto refused = RefuseClashingFiles(options, {"--image"}, {"-o", "--log"})) {
        return *refused;
    }
    const auto port = PortOption(options);
    const auto baud = BaudOption(options);
    if (!port || !baud) {
        return kUsage;
    }
    if (what == "read") {
        return RunTuningRead(options, *port, *baud);
    }
    if (what == "write") {
        return RunTuningWrite(options, *port, *baud);
    }
    return RunTuningPoint(options, *port, *baud);
}

// The serial engine hands received bytes over through Qt's event loop.
template <typename Run>
int WithEventLoop(CommandContext& context, Run run) {
    QCoreApplication app(context.argc, context.argv);
    return run();
}

}  // namespace

void AddRadioCommands(CLI::App& app, CommandContext& context) {
    static std::vector<std::unique_ptr<OptionCollector>> collectors;
    const auto add = [&](CLI::App& command, const std::vector<std::string>& names,
                         const std::string& positionals) -> OptionCollector& {
        collectors.push_back(std::make_unique<OptionCollector>(command, names, positionals));
        return *collectors.back();
    };

    CLI::App* read = app.add_subcommand(
        "read",
        "read the radio; bytes it never sends come from the base image (default: "
        "the default image, else zeros)");
    OptionCollector& readOptions = add(*read, {"--port", "-o", "--base", "--log"}, "");
    static bool noBackup = false;
    read->add_flag("--no-backup", noBackup, "keep no backup of what is read");
    read->callback([&context, &readOptions] {
        const ParsedOptions options = readOptions.Collect();
        context.status = WithEventLoop(context, [&] { return RunRead(&options, !noBackup); });
    });

    CLI::App* write =
        app.add_subcommand("write", "write the radio, then read it back and compare the channels");
    OptionCollector& writeOptions = add(*write, {"--port", "--log"}, "IMAGE.kda");
    static WriteFlags writeFlags;
    write->add_flag_callback(
        "--no-read-first", [] { writeFlags.readFirst = false; },
        "write without reading and backing up the radio first");
    write->add_flag("--keep-identity", writeFlags.keepIdentity,
                    "keep the radio's own serial number and user ID");
    write->callback([&context, &writeOptions] {
        const ParsedOptions options = writeOptions.Collect();
        context.status = WithEventLoop(context, [&] { return RunWrite(&options, writeFlags); });
    });

    CLI::App* tuning = app.add_subcommand("tuning", "the factory tuning values");
    tuning->require_subcommand(1);
    const std::vector<std::pair<std::string, std::string>> tuningCommands = {
        {"read", "read the tuning values: -o VALUES.dat"},
        {"write",
         "VALUES.dat --image IMAGE.kda: tuning values, then the image's settings and "
         "channels, then the check"},
        {"point", "N LOW MID HIGH: send one live test point"}};
    for (const auto& [name, help] : tuningCommands) {
        CLI::App* command = tuning->add_subcommand(name, help);
        OptionCollector& options =
            add(*command, {"--port", "--baud", "-o", "--image", "--log"}, "ARGS");
        command->callback([&context, &options, what = name] {
            const ParsedOptions parsed = options.Collect();
            context.status = WithEventLoop(context, [&] { return RunTuning(what, parsed); });
        });
    }
}

}  // namespace halyx::cli
