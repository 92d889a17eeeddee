// A serial line over Telnet with the COM-PORT option, from both ends: the byte stream's escapes
// and commands however the network cuts them, the client's line set-up against our own server
// and against servers that refuse, and the addresses such lines are named by.
#include <gtest/gtest.h>

#include <numeric>

#include "link/com_port_client.h"
#include "link/network_address.h"
#include "link/telnet_codec.h"
#include "radiosim/com_port_server.h"

namespace halyx {
namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace telnet;

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

Bytes EveryByteValueTwice() {
    Bytes bytes(512);
    std::iota(bytes.begin(), bytes.begin() + 256, 0);
    std::iota(bytes.begin() + 256, bytes.end(), 0);
    std::reverse(bytes.begin() + 256, bytes.end());  // 0xFF 0xFF side by side in the middle
    return bytes;
}

// Feeds `stream` in pieces of `step` bytes and gathers what the reader makes of it.
TelnetInput FeedInPieces(const Bytes& stream, std::size_t step) {
    TelnetReader reader;
    TelnetInput all;
    for (std::size_t at = 0; at < stream.size(); at += step) {
        TelnetInput part = reader.Feed(stream.data() + at, std::min(step, stream.size() - at));
        all.data.insert(all.data.end(), part.data.begin(), part.data.end());
        all.events.insert(all.events.end(), part.events.begin(), part.events.end());
    }
    return all;
}

TEST(TelnetReader, DataSurvivesEscapingAndCommandsAreStrippedWhereverTheStreamIsCut) {
    const Bytes data = EveryByteValueTwice();
    const Bytes escaped = EscapeData(data.data(), data.size());
    EXPECT_EQ(escaped.size(), data.size() + 2);  // only the two 0xFF are doubled
    const Bytes nop{kIac, 241};
    const Bytes stream =
        Join({nop, Bytes(escaped.begin(), escaped.begin() + 300), OptionCommand(kWill, 3),
              SubNegotiation(kOptionComPort, {106, 0xFF, 0x10}), nop,
              Bytes(escaped.begin() + 300, escaped.end()), OptionCommand(kDo, kOptionBinary)});

    for (std::size_t step : {std::size_t{1}, std::size_t{2}, std::size_t{3}, stream.size()}) {
        SCOPED_TRACE(step);
        const TelnetInput input = FeedInPieces(stream, step);
        EXPECT_EQ(input.data, data);
        ASSERT_EQ(input.events.size(), 3u);
        EXPECT_EQ(input.events[0].kind, TelnetEvent::Kind::Option);
        EXPECT_EQ(input.events[0].verb, kWill);
        EXPECT_EQ(input.events[0].option, 3);
        EXPECT_EQ(input.events[1].kind, TelnetEvent::Kind::Sub);
        EXPECT_EQ(input.events[1].option, kOptionComPort);
        EXPECT_EQ(input.events[1].payload, (Bytes{106, 0xFF, 0x10}));  // IAC IAC inside: 0xFF
        EXPECT_EQ(input.events[2].verb, kDo);
        EXPECT_EQ(input.events[2].option, kOptionBinary);
    }
}

TEST(TelnetReader, AnEndlessSubNegotiationIsCutNotKept) {
    TelnetReader reader;
    const Bytes start{kIac, kSb, kOptionComPort};
    reader.Feed(start.data(), start.size());
    const Bytes flood(100000, 0x41);
    reader.Feed(flood.data(), flood.size());
    const Bytes end{kIac, kSe, 0x55};
    const TelnetInput input = reader.Feed(end.data(), end.size());
    ASSERT_EQ(input.events.size(), 1u);
    EXPECT_EQ(input.events[0].payload.size(), TelnetReader::kMaxSubLength);
    EXPECT_EQ(input.data, Bytes{0x55});
}

// Client and server talking until neither has anything left to say.
struct Conversation {
    ComPortClient client{ComPortClient::Line{}};
    ComPortServer server;
    Bytes clientData;  // what the client received as line data
    Bytes serverData;

    void Run(Bytes toServer) {
        for (int turn = 0; turn < 20 && !toServer.empty(); ++turn) {
            ComPortServer::Output atServer = server.Feed(toServer.data(), toServer.size());
            serverData.insert(serverData.end(), atServer.data.begin(), atServer.data.end());
            ComPortClient::Output atClient =
                client.Feed(atServer.reply.data(), atServer.reply.size());
            clientData.insert(clientData.end(), atClient.data.begin(), atClient.data.end());
            toServer = atClient.reply;
        }
    }
};

TEST(ComPortLine, ClientSetsUpTheLineAndRadioMemoryFullOfFFCrossesBothWays) {
    Conversation talk;
    talk.Run(talk.client.Start());
    ASSERT_EQ(talk.client.state(), ComPortClient::State::Ready) << talk.client.refusal();

    const Bytes memory = EveryByteValueTwice();
    const Bytes toRadio = EscapeData(memory.data(), memory.size());
    talk.Run(toRadio);
    EXPECT_EQ(talk.serverData, memory);
    const Bytes fromRadio = ComPortServer::Encode(memory.data(), memory.size());
    const ComPortClient::Output out = talk.client.Feed(fromRadio.data(), fromRadio.size());
    EXPECT_EQ(out.data, memory);
    EXPECT_TRUE(out.reply.empty());
    EXPECT_EQ(talk.client.state(), ComPortClient::State::Ready);
}

TEST(ComPortLine, ClientAsksForBinaryThePortOptionAndTheWholeLine) {
    ComPortClient client{ComPortClient::Line{}};
    EXPECT_EQ(client.Start(),
              Join({OptionCommand(kWill, kOptionBinary), OptionCommand(kDo, kOptionBinary),
                    OptionCommand(kWill, kOptionComPort)}));
    // Settings go out once the server takes the option, not before; unknown offers are declined.
    const Bytes accepted = Join({OptionCommand(kWill, 1), OptionCommand(kDo, kOptionComPort)});
    const ComPortClient::Output out = client.Feed(accepted.data(), accepted.size());
    EXPECT_EQ(
        out.reply,
        Join({OptionCommand(kDont, 1), SubNegotiation(kOptionComPort, {1, 0x00, 0x00, 0x25, 0x80}),
              SubNegotiation(kOptionComPort, {2, 8}), SubNegotiation(kOptionComPort, {3, 1}),
              SubNegotiation(kOptionComPort, {4, 1}), SubNegotiation(kOptionComPort, {5, 1})}));
    EXPECT_EQ(client.state(), ComPortClient::State::Negotiating);
}

TEST(ComPortLine, ServersThatWillNotSetTheLineAreRefusedWithTheReason) {
    const Bytes binaryAgreed =
        Join({OptionCommand(kDo, kOptionBinary), OptionCommand(kWill, kOptionBinary),
              OptionCommand(kDo, kOptionComPort)});
    const Bytes confirmsRest =
        Join({SubNegotiation(kOptionComPort, {102, 8}), SubNegotiation(kOptionComPort, {103, 1}),
              SubNegotiation(kOptionComPort, {104, 1}), SubNegotiation(kOptionComPort, {105, 1})});
    struct Case {
        const char* name;
        Bytes fromServer;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"no port option", Join({OptionCommand(kDo, kOptionBinary), OptionCommand(kDont, 44)}),
         "declines the serial port option"},
        {"no binary", OptionCommand(kWont, kOptionBinary), "declines binary transmission"},
        {"another speed",
         Join(
             {binaryAgreed, SubNegotiation(kOptionComPort, {101, 0, 0, 0x12, 0xC0}), confirmsRest}),
         "4800 baud instead of 9600"},
        {"seven data bits",
         Join({binaryAgreed, SubNegotiation(kOptionComPort, {101, 0, 0, 0x25, 0x80}),
               SubNegotiation(kOptionComPort, {102, 7})}),
         "data bits"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ComPortClient client{ComPortClient::Line{}};
        client.Start();
        client.Feed(c.fromServer.data(), c.fromServer.size());
        EXPECT_EQ(client.state(), ComPortClient::State::Refused);
        EXPECT_NE(client.refusal().find(c.reason), std::string::npos) << client.refusal();
    }

    // A server that agrees to everything but never confirms the settings keeps the client
    // waiting; the port's time-out ends that.
    ComPortClient waiting{ComPortClient::Line{}};
    waiting.Start();
    waiting.Feed(binaryAgreed.data(), binaryAgreed.size());
    EXPECT_EQ(waiting.state(), ComPortClient::State::Negotiating);
    // Confirmations of the wrong size count as refusals, not as a short read past the payload.
    const Bytes shortBaud = SubNegotiation(kOptionComPort, {101, 0x25});
    waiting.Feed(shortBaud.data(), shortBaud.size());
    EXPECT_EQ(waiting.state(), ComPortClient::State::Refused);
}

TEST(NetworkAddresses, BothSchemesParseAndMistypedOnesAreRefused) {
    const auto bench = ParseNetworkAddress("rfc2217://bench-pi.local:4001");
    ASSERT_TRUE(bench.has_value());
    EXPECT_EQ(bench->kind, NetworkAddress::Kind::ComPort);
    EXPECT_EQ(bench->host, "bench-pi.local");
    EXPECT_EQ(bench->port, 4001);
    const auto raw = ParseNetworkAddress("TCP://[::1]:65535/");
    ASSERT_TRUE(raw.has_value());
    EXPECT_EQ(raw->kind, NetworkAddress::Kind::RawTcp);
    EXPECT_EQ(raw->host, "::1");
    EXPECT_EQ(NetworkAddressText(*raw), "tcp://[::1]:65535");
    EXPECT_EQ(NetworkAddressText(*bench), "rfc2217://bench-pi.local:4001");

    for (const char* bad :
         {"rfc2217://", "rfc2217://host", "rfc2217://host:", "rfc2217://:4001", "tcp://host:0",
          "tcp://host:65536", "tcp://host:40x1", "tcp://ho st:4001", "tcp://[::1:4001",
          "tcp://[::1]4001", "tcp://host:4001/path", "telnet://host:4001", "/dev/ttyUSB0"}) {
        EXPECT_FALSE(ParseNetworkAddress(bad).has_value()) << bad;
    }
    EXPECT_TRUE(HasNetworkScheme("Rfc2217://x"));
    EXPECT_FALSE(HasNetworkScheme("/dev/tcp://x"));
}

}  // namespace
}  // namespace halyx
