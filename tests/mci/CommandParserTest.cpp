#include <gtest/gtest.h>

#include <string>

#include "mci/CommandParser.h"

namespace trelvane::mci {
namespace {

Status statusOf(const std::string& command) {
    return CommandParser::parse(command.c_str()).status;
}

ParsedCommand parsed(const std::string& command) {
    ParseResult result = CommandParser::parse(command.c_str());
    EXPECT_EQ(result.status, status::Ok) << command;
    return result.command;
}

TEST(CommandParser, KeywordsIgnoreCaseAndBlanksAndOrder) {
    const ParsedCommand command = parsed("\tOPEN  /v/x.vob\tAlias Movie  TYPE mpegVideo wait  \t ");
    EXPECT_EQ(command.verb, Verb::Open);
    EXPECT_EQ(command.device, "/v/x.vob");
    ASSERT_TRUE(command.has("alias") && command.has("type") && command.has("wait"));
    EXPECT_EQ(command.value("alias")->text, "Movie");
    EXPECT_EQ(command.value("type")->text, "mpegVideo");

    const ParsedCommand status = parsed("Status movie WAIT Position");
    EXPECT_EQ(status.verb, Verb::Status);
    EXPECT_EQ(status.item, "position");
    EXPECT_TRUE(status.has("wait"));

    EXPECT_EQ(parsed("set movie TIME Format ms").value("time")->text, "ms");
}

TEST(CommandParser, QuotedFileNameIsKeptByteForByte) {
    const std::string names[] = {"/tmp/a b.vob", "/tmp/Mixed CASE/ alias x ",
                                 "/tmp/f\xC3\xBCr \xE2\x82\xAC.vob", "", "C:\\v\\a\tb.vob"};
    for (const std::string& name : names) {
        const ParsedCommand command = parsed("open \"" + name + "\" alias m");
        EXPECT_EQ(command.device, name);
        EXPECT_EQ(command.value("alias")->text, "m");
        EXPECT_EQ(command.options.size(), 1u) << name;
    }
}

TEST(CommandParser, AmbiguousQuotingIsRefused) {
    EXPECT_EQ(statusOf("open \"/tmp/a\"b.vob\" alias m"), status::UnrecognizedKeyword);
    EXPECT_EQ(statusOf("open \"/tmp/a.vob\"alias m"), status::UnrecognizedKeyword);
    EXPECT_EQ(statusOf("open /tmp/a\"b.vob alias m"), status::UnrecognizedKeyword);
    EXPECT_EQ(statusOf("open \"/tmp/a.vob\" \"/tmp/b.vob\""), status::UnrecognizedKeyword);
    EXPECT_EQ(statusOf("open \"/tmp/a.vob\" alias \"m\""), status::UnrecognizedKeyword);
    EXPECT_EQ(statusOf("\"open\" /tmp/a.vob"), status::UnrecognizedKeyword);
    EXPECT_EQ(statusOf("close \"movie\""), status::UnrecognizedKeyword);
    EXPECT_EQ(statusOf("open \"/tmp/a.vob alias m"), status::NoClosingQuote);
    EXPECT_EQ(statusOf("open \"/tmp/a.vob\" alias m \""), status::NoClosingQuote);
}

TEST(CommandParser, NumbersMustBe32BitDecimal) {
    EXPECT_EQ(*parsed("play m from 0 to 2147483647").value("to")->number, 2147483647);
    EXPECT_EQ(*parsed("open f parent -2147483648").value("parent")->number, -2147483647 - 1);
    EXPECT_EQ(*parsed("play m from 007").value("from")->number, 7);
    EXPECT_EQ(*parsed("seek m to -5").value("to")->number, -5);
    EXPECT_FALSE(parsed("seek m to START").value("to")->number.has_value());
    EXPECT_EQ(parsed("seek m to end").value("to")->text, "end");
    for (const char* bad : {"2147483648", "-2147483649", "99999999999999999999", "12a", "+5", "-",
                            "1.5", "0x10", "ms"}) {
        EXPECT_EQ(statusOf(std::string("play m from ") + bad), status::BadInteger) << bad;
        EXPECT_EQ(statusOf(std::string("open f parent ") + bad), status::BadInteger) << bad;
    }
    EXPECT_EQ(statusOf("seek m to middle"), status::BadInteger);
}

TEST(CommandParser, StructuralFaultsHaveTheirOwnStatus) {
    EXPECT_EQ(statusOf(""), status::MissingCommandString);
    EXPECT_EQ(statusOf(" \t "), status::MissingCommandString);
    EXPECT_EQ(CommandParser::parse(nullptr).status, status::MissingCommandString);
    EXPECT_EQ(statusOf("rewind movie"), status::UnrecognizedCommand);
    EXPECT_EQ(statusOf("play"), status::MissingParameter);
    EXPECT_EQ(statusOf("play m sideways"), status::UnrecognizedKeyword);
    EXPECT_EQ(statusOf("close m from 5"), status::UnrecognizedKeyword);
    EXPECT_EQ(statusOf("play m from"), status::MissingParameter);
    EXPECT_EQ(statusOf("open f alias"), status::MissingParameter);
    EXPECT_EQ(statusOf("set m time"), status::MissingParameter);
    EXPECT_EQ(statusOf("set m time zone ms"), status::UnrecognizedKeyword);
    EXPECT_EQ(statusOf("open f alias a alias b"), status::DuplicateFlags);
    EXPECT_EQ(statusOf("play m wait WAIT"), status::DuplicateFlags);
    EXPECT_EQ(statusOf("play m from 1 to 5 from 2"), status::DuplicateFlags);
}

TEST(CommandParser, StatusTakesExactlyOneKnownItem) {
    EXPECT_EQ(parsed("status m LENGTH").item, "length");
    EXPECT_EQ(parsed("status m mode").item, "mode");
    EXPECT_EQ(statusOf("status m"), status::MissingParameter);
    EXPECT_EQ(statusOf("status m wait"), status::MissingParameter);
    EXPECT_EQ(statusOf("status m volume"), status::BadConstant);
    EXPECT_EQ(statusOf("status m length position"), status::DuplicateFlags);
    EXPECT_EQ(statusOf("status m length volume"), status::UnrecognizedKeyword);
}

}  // namespace
}  // namespace trelvane::mci
