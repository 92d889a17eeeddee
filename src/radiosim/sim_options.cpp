#include "radiosim/sim_options.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <climits>
#include <string_view>
#include <utility>

namespace halyx {

namespace {

constexpr int kHighestListenPort = 65535;

bool ParseCount(std::string_view text, int& value) {
    if (text.empty()) {
        return false;
    }
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && value >= 0;
}

// "BLOCK" or "BLOCK:COUNT" (count 1 when left out).
bool ParseTarget(std::string_view text, RadioPeerFaults::Target& target) {
    const std::size_t colon = text.find(':');
    int block = 0;
    int count = 1;
    if (!ParseCount(text.substr(0, colon), block)) {
        return false;
    }
    if (colon != std::string_view::npos && !ParseCount(text.substr(colon + 1), count)) {
        return false;
    }
    target = RadioPeerFaults::Target{block, count};
    return true;
}

void AddFaultTarget(CLI::App& app, const std::string& name, RadioPeerFaults::Target& target) {
    app.add_option_function<std::string>(name, [name, &target](const std::string& value) {
        if (!ParseTarget(value, target)) {
            throw CLI::ValidationError(name, "BLOCK[:COUNT] expected, not " + value);
        }
    });
}

// Every option of one radio. Help and version are flags here: the program prints its own text.
void DescribeOptions(CLI::App& app, SimOptions& o) {
    app.set_help_flag();
    // A radio's own options (--for) come after the ones given to all and win over them.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.add_flag("-h,--help", o.help);
    app.add_flag("--version", o.version);
    app.add_flag("-v,--verbose", o.verbose);
    app.add_flag_callback("--no-pacing", [&o] { o.pacing = false; });
    app.add_flag("--silent", o.faults.silent);
    app.add_flag("--silent-after-write", o.faults.silentAfterWrite);
    app.add_flag("--readback-differs", o.faults.readBackDiffers);

    app.add_option("--image", o.imagePath);
    app.add_option("--save", o.savePath);
    app.add_option_function<std::string>("--serial", [&o](const std::string& value) {
        if (value.size() > header::kSerialNumberSize) {
            throw CLI::ValidationError("--serial", "at most 10 characters: " + value);
        }
        o.serial = value;
    });
    app.add_option_function<std::string>(
           "--band", [&o](const std::string& value) { o.upperBand = value == "high"; })
        ->check(CLI::IsMember({"low", "high"}));
    app.add_option("--baud", o.baud)->check(CLI::Range(1, INT_MAX));
    app.add_option_function<std::vector<std::string>>(
           "--listen",
           [&o](const std::vector<std::string>& values) {
               int port = 0;
               if (values.size() != 2 || (values[0] != "rfc2217" && values[0] != "tcp") ||
                   !ParseCount(values[1], port) || port > kHighestListenPort) {
                   throw CLI::ValidationError("--listen", "rfc2217|tcp PORT expected");
               }
               o.listen = values[0] == "tcp" ? SimListen::RawTcp : SimListen::ComPort;
               o.listenPort = port;
           })
        ->expected(2);
    app.add_option("--response-delay-ms", o.responseDelayMs)->check(CLI::Range(0, INT_MAX));
    app.add_option("--exit-after-frames", o.exitAfterFrames)->check(CLI::Range(0, INT_MAX));
    app.add_option("--garbage", o.faults.garbageBytes)->check(CLI::Range(0, INT_MAX));
    app.add_option("--disappear-after", o.faults.disappearAfterFrames)
        ->check(CLI::Range(1, INT_MAX));
    AddFaultTarget(app, "--bad-checksum", o.faults.badChecksum);
    AddFaultTarget(app, "--nak-block", o.faults.nakBlock);
    AddFaultTarget(app, "--corrupt-length", o.faults.corruptLength);
    AddFaultTarget(app, "--drop-frame", o.faults.dropFrame);
}

// Whether `name` is an option that takes no value, so --for knows whether one follows.
bool IsFlag(std::string_view name) {
    SimOptions scratch;
    CLI::App app;
    DescribeOptions(app, scratch);
    const CLI::Option* option = app.get_option_no_throw(std::string(name));
    return option != nullptr && option->get_expected_max() == 0;
}

std::string WithRadioNumber(std::string text, int number) {
    const std::size_t at = text.find("%d");
    if (at != std::string::npos) {
        text.replace(at, 2, std::to_string(number));
    }
    return text;
}

}  // namespace

SimFleetOptionsResult ParseSimFleetOptions(int argc, char** argv) {
    // --count and --for pick which radio an option is for; the options themselves are parsed
    // per radio, once the arguments for it are gathered.
    std::vector<std::string> shared;
    std::vector<std::pair<int, std::string>> own;  // radio number, argument
    int count = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--count" || arg.starts_with("--count=")) {
            const std::string_view value = arg == "--count"
                                               ? (i + 1 < argc ? std::string_view(argv[++i]) : "")
                                               : arg.substr(8);
            if (!ParseCount(value, count) || count < 1 || count > kMaxSimRadios) {
                return {{}, "bad option: --count " + std::string(value)};
            }
            continue;
        }
        if (arg == "--for") {
            int radio = 0;
            if (i + 2 >= argc || !ParseCount(argv[i + 1], radio) || radio < 1) {
                return {{}, "--for needs a radio number and an option"};
            }
            const std::string_view option = argv[i + 2];
            own.emplace_back(radio, argv[i + 2]);
            i += 2;
            if (option.find('=') == std::string_view::npos && !IsFlag(option) && i + 1 < argc) {
                own.emplace_back(radio, argv[++i]);
            }
            continue;
        }
        shared.emplace_back(arg);
    }
    for (const auto& [radio, arg] : own) {
        if (radio > count) {
            return {{},
                    "--for " + std::to_string(radio) + ": there are only " + std::to_string(count) +
                        " radios"};
        }
    }
    SimFleetOptionsResult out;
    for (int radio = 1; radio <= count; ++radio) {
        std::vector<std::string> args{"halyx-radiosim"};
        args.insert(args.end(), shared.begin(), shared.end());
        for (const auto& [number, arg] : own) {
            if (number == radio) {
                args.push_back(arg);
            }
        }
        std::vector<char*> pointers;
        for (std::string& a : args) {
            pointers.push_back(a.data());
        }
        SimOptionsResult parsed =
            ParseSimOptions(static_cast<int>(pointers.size()), pointers.data());
        if (!parsed.options) {
            return {{}, parsed.error};
        }
        SimOptions& o = *parsed.options;
        o.imagePath = WithRadioNumber(o.imagePath, radio);
        o.savePath = WithRadioNumber(o.savePath, radio);
        if (o.serial) {
            o.serial = WithRadioNumber(*o.serial, radio);
            if (o.serial->size() > header::kSerialNumberSize) {
                return {{}, "bad option: --serial " + *o.serial};
            }
        }
        if (o.listen != SimListen::Terminal && o.listenPort != 0) {
            o.listenPort += radio - 1;  // consecutive ports, radio 1 on the one given
            if (o.listenPort > kHighestListenPort) {
                return {{}, "--listen: port " + std::to_string(o.listenPort) + " is too high"};
            }
        }
        out.radios.push_back(std::move(o));
    }
    return out;
}

SimOptionsResult ParseSimOptions(int argc, char** argv) {
    SimOptions o;
    CLI::App app("halyx-radiosim");
    DescribeOptions(app, o);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return {std::nullopt, error.what()};
    }
    return {o, {}};
}

std::string SimHelpText() {
    return R"(Usage: halyx-radiosim [options]

Simulates a radio on a pseudo-terminal. The first line of standard output is the path
of the terminal to open (for example /dev/pts/7); the radio then answers on it until it
is stopped with SIGINT or SIGTERM. The terminal may be closed and re-opened freely.

Over the network instead:
  --listen rfc2217|tcp PORT   serve the radio on TCP port PORT of 127.0.0.1 (0: any free
                          port), as Telnet with the COM-PORT option or as raw bytes; the
                          line printed is the address to give as the port, for example
                          rfc2217://127.0.0.1:4001. One client at a time. With --count N,
                          radio K listens on PORT+K-1.

Memory and radio:
  --image FILE            start from this radio image (at most 2048 bytes); all zero without
  --serial TEXT           set the serial number (header bytes 12..21, at most 10 characters)
  --save FILE             write the 2048-byte memory to FILE on exit
  --band low|high         set image byte 22 to 0 (136-174 MHz) or 1 (406.1-470 MHz)
  --exit-after-frames N   exit (saving) once N frames have been received and answered

Line timing:
  --baud N                line speed for pacing, 10 bits per byte (default 9600). An answer
                          starts no earlier than the request would have arrived at this
                          speed, and goes out byte by byte at this speed.
  --response-delay-ms N   extra wait before each answer (default 1)
  --no-pacing             answer at once, all bytes in one write

Faults. BLOCK names a frame by block number: 0 test values, 1 settings, 2..21 records;
an ACK/NAK counts as the frame of the block it answers. COUNT defaults to 1.
  --silent                never answer
  --bad-checksum BLOCK[:COUNT]    send that long frame with a wrong checksum COUNT times
  --nak-block BLOCK[:COUNT]       answer that written block with NAK COUNT times
  --garbage N             send N noise bytes (no start bytes) before every frame
  --corrupt-length BLOCK[:COUNT]  send that long frame with a wrong length byte
  --drop-frame BLOCK[:COUNT]      do not send that answer at all
  --disappear-after N     close the terminal and exit after answering N frames
  --silent-after-write    stop answering once record block 21 has been written
  --readback-differs      after a write, serve a record that differs from what was written

Several radios:
  --count N               simulate N independent radios (1 to 64), each on its own terminal;
                          one path per line, radio 1 first. Every option applies to all.
  --for K OPTION [VALUE]  apply OPTION to radio K only, after the options given to all
                          (for example --for 3 --silent, --for 2 --nak-block 5:3)
  In --image, --save and --serial a "%d" becomes the radio's number: --serial SIM%d.
  With --disappear-after or --exit-after-frames a radio leaves alone; the program ends when
  the last radio has.

Other:
  --verbose, -v           log frames and decisions on standard error
  --help, -h              show this text
  --version               show the version
Options taking a value also accept --name=value.
)";
}

}  // namespace halyx
