// The command layer without media: the parser, the device table and the reply area.
#include "platform/mci/Command.h"
#include "platform/mci/Device.h"
#include "platform/mci/Mci.h"
#include "tests/engine/CommandLog.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace mci;

namespace {

// A device type of the tests: "status NAME WORD" answers WORD, "play" counts.
struct Counters {
    int opened = 0;
    int closed = 0;
    int played = 0;
    std::string lastElement;
};
Counters counters;

class EchoDevice : public Device {
public:
    ~EchoDevice() override { ++counters.closed; }
    unsigned Execute(const Command& command, std::string& reply) override
    {
        Arguments args(command.arguments);
        if (command.verb == "play") {
            ++counters.played;
            return args.Finish();
        }
        if (command.verb != "status") return Err::UnrecognizedCommand;
        std::string word;
        if (const unsigned error = args.TakeString(word)) return error;
        if (const unsigned error = args.Finish()) return error;
        reply = word;
        return 0;
    }
};

class CommandLayer : public ::testing::Test {
protected:
    void SetUp() override
    {
        counters = {};
        RegisterDeviceType("TestEcho", [](const std::string& element, std::unique_ptr<Device>& device) -> unsigned {
            if (element == "refused") return Err::InvalidFile;
            counters.lastElement = element;
            ++counters.opened;
            device = std::make_unique<EchoDevice>();
            return 0;
        });
    }
    void TearDown() override { Send("close all"); }
};

} // namespace

TEST(CommandParser, SplitsVerbDeviceArgumentsAndFlags)
{
    Command command;
    ASSERT_EQ(Parse("Status  Music Position WAIT notify", command), 0u);
    EXPECT_EQ(command.verb, "status");
    EXPECT_EQ(command.device, "Music");
    ASSERT_EQ(command.arguments.size(), 1u);
    EXPECT_EQ(command.arguments[0].text, "Position");
    EXPECT_TRUE(command.wait);
    EXPECT_TRUE(command.notify);

    ASSERT_EQ(Parse("open \"/a folder/my clip.mp4\" TYPE MPEGVideo alias music", command), 0u);
    EXPECT_EQ(command.device, "/a folder/my clip.mp4");
    ASSERT_EQ(command.arguments.size(), 4u);
    EXPECT_FALSE(command.wait);

    std::vector<Token> tokens = {{"TIME"}, {"Format"}, {"-1500"}, {"12x"}, {"99999999999"}};
    Arguments args(tokens);
    EXPECT_FALSE(args.Take({"time", "zone"}));
    EXPECT_TRUE(args.Take({"time", "format"}));
    std::int64_t value = 0;
    EXPECT_EQ(args.TakeInteger(value), 0u);
    EXPECT_EQ(value, -1500);
    EXPECT_EQ(args.TakeInteger(value), Err::BadInteger);
    EXPECT_EQ(args.Finish(), Err::UnrecognizedKeyword);
}

TEST(CommandParser, BadCommandStringsGetTheirErrorCodes)
{
    EXPECT_EQ(Send(""), Err::MissingCommandString);
    EXPECT_EQ(Send("   "), Err::MissingCommandString);
    EXPECT_EQ(Send("frobnicate music"), Err::UnrecognizedCommand);
    EXPECT_EQ(Send("\"play\" music"), Err::UnrecognizedCommand);
    EXPECT_EQ(Send("play"), Err::MissingDeviceName);
    EXPECT_EQ(Send("open \"/tmp/no end"), Err::NoClosingQuote);
    EXPECT_EQ(Send("open \"/tmp/a\"b type MPEGVideo"), Err::ExtraCharacters);
    EXPECT_EQ(Send("status nosuchalias mode"), Err::InvalidDeviceName);
    EXPECT_EQ(Send("close nosuchalias"), Err::InvalidDeviceName);
    EXPECT_EQ(Send("open /tmp/x.xyz"), Err::ExtensionNotFound);
    EXPECT_EQ(Send("open /tmp/x.xyz type nosuchtype alias x"), Err::InvalidDeviceName);
    EXPECT_EQ(Send("open /tmp/x.xyz type MPEGVideo bogus"), Err::UnrecognizedKeyword);
    EXPECT_EQ(Send("open /tmp/does-not-exist.mp4 type MPEGVideo alias x"), Err::FileNotFound);
    EXPECT_EQ(Send("status all mode"), Err::CannotUseAll);
    // The CD device type opens for one command; with no disc in its drive it cannot play.
    qputenv("TESSEL_CDROM", "/nonexistent/disc.cue");
    EXPECT_EQ(Send("play cdaudio"), Err::DeviceNotReady);

    for (unsigned code : {Err::UnrecognizedCommand, Err::InvalidDeviceName, Err::ParamOverflow, Err::OutOfRange})
        EXPECT_EQ(ErrorText(code).find("Unknown error"), std::string::npos) << code;
    EXPECT_NE(ErrorText(Err::UnrecognizedCommand), ErrorText(Err::UnrecognizedKeyword));
    EXPECT_NE(ErrorText(4242).find("Unknown error"), std::string::npos);
}

TEST_F(CommandLayer, ArbitraryTextNeverBreaksTheLayer)
{
    ASSERT_EQ(Send("open a type TestEcho alias e"), 0u);
    const std::string commands[] = {"\"", "\"\"", "open", "open \"\"", "open \"\" type TestEcho",
        "open \"\" type MPEGVideo alias x", "open x type", "open x alias", "open x type TestEcho alias",
        "open x type TestEcho alias all", "close", "close e extra", "status e", "status \"e\" x",
        std::string(5000, 'a'), "status e " + std::string(5000, 'b'), std::string("status e a\0b", 12), "play all from",
        "seek all to 99999999999999999999", "\t\r\n", "status\te\tword"};
    for (const std::string& command : commands) {
        char reply[16] = "";
        const unsigned error = SendString(command, reply, sizeof reply);
        EXPECT_TRUE(error == 0 || !ErrorText(error).empty()) << command;
        EXPECT_LT(std::strlen(reply), sizeof reply);
    }
    EXPECT_EQ(Ask("status\te\tword"), "word") << "tabs separate words too";
}

TEST_F(CommandLayer, AliasesAreOneTableWhoseCloseAllClosesEveryDevice)
{
    EXPECT_EQ(Send("open first.echo type TestEcho alias One"), 0u);
    EXPECT_EQ(counters.lastElement, "first.echo");
    EXPECT_EQ(Send("OPEN \"second one.echo\" type testecho alias two"), 0u);
    EXPECT_EQ(Send("open other.echo type TestEcho alias ONE"), Err::DuplicateAlias);
    EXPECT_EQ(Send("open refused type TestEcho alias three"), Err::InvalidFile);
    EXPECT_EQ(counters.opened, 2);

    EXPECT_EQ(Ask("status one Hello"), "Hello") << "aliases ignore letter case";
    EXPECT_EQ(Ask("status TWO x wait"), "x");
    EXPECT_EQ(Ask("status two x y"), QStringLiteral("error %1").arg(Err::UnrecognizedKeyword));
    EXPECT_EQ(Ask("seek two to start"), QStringLiteral("error %1").arg(Err::UnrecognizedCommand));

    EXPECT_EQ(Send("play all"), 0u);
    EXPECT_EQ(counters.played, 2);

    EXPECT_EQ(Send("close one"), 0u);
    EXPECT_EQ(counters.closed, 1);
    EXPECT_EQ(Send("close one"), Err::InvalidDeviceName);
    EXPECT_EQ(Send("close all"), 0u);
    EXPECT_EQ(counters.closed, 2);
    EXPECT_EQ(Send("status two x"), Err::InvalidDeviceName);
    EXPECT_EQ(Send("close all"), 0u) << "closing nothing is no error";
}

TEST_F(CommandLayer, ADeviceTypeNamedDirectlyIsOpenedForOneCommand)
{
    EXPECT_EQ(Ask("status testecho ready"), "ready");
    EXPECT_EQ(counters.opened, 1);
    EXPECT_EQ(counters.closed, 1);
    EXPECT_EQ(counters.lastElement, "");
    EXPECT_EQ(Send("open testecho"), 0u) << "a device opened by its type is known by the type's name";
    EXPECT_EQ(Ask("status TestEcho again"), "again");
    EXPECT_EQ(counters.opened, 2);
}

TEST_F(CommandLayer, RepliesAreCutToTheReplyAreaAndAFailureWritesNothing)
{
    ASSERT_EQ(Send("open a type TestEcho alias e"), 0u);
    char reply[8];
    std::strcpy(reply, "zzz");
    EXPECT_EQ(SendString("status e 0123456789", reply, sizeof reply), Err::ParamOverflow);
    EXPECT_STREQ(reply, "0123456");
    EXPECT_EQ(SendString("status e 0123456", reply, sizeof reply), 0u);
    EXPECT_STREQ(reply, "0123456");

    std::strcpy(reply, "zzz");
    EXPECT_EQ(SendString("status e", reply, sizeof reply), Err::MissingStringArgument);
    EXPECT_STREQ(reply, "zzz");
    EXPECT_EQ(SendString("status nobody x", reply, sizeof reply), Err::InvalidDeviceName);
    EXPECT_STREQ(reply, "zzz");
    EXPECT_EQ(SendString("status e x", nullptr, 0), 0u) << "no reply area: the answer is dropped";
    EXPECT_EQ(SendString("status e x", reply, 0), 0u);
    EXPECT_STREQ(reply, "zzz");
}

TEST_F(CommandLayer, TheObserverSeesEveryCommandAsSent)
{
    CommandLog log;
    Send("open a type TestEcho alias e");
    Send("bogus");
    Send("status e  two  blanks");
    EXPECT_EQ(log.Take(), QStringList({"open a type TestEcho alias e", "bogus", "status e  two  blanks"}));
}
