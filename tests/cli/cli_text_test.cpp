#include "cli_text.h"

#include <gtest/gtest.h>

namespace {

CliDevice Device(int number, const std::string& address, const std::string& version, const std::string& host,
    const std::string& gateway, const std::string& mac, const std::string& netmask, int mode,
    const std::string& interfaceName = "eth0")
{
    DeviceReply r { address, gateway, host, mac, version, netmask, ModeOfIndex(mode), 0 };
    return CliDevice { number, r, interfaceName, {} };
}

TEST(CliText, ModeTexts)
{
    EXPECT_EQ(ModeText(AddressMode::Static), "static");
    EXPECT_EQ(ModeText(AddressMode::Dhcp), "dhcp");
    EXPECT_EQ(ModeText(AddressMode::NotGiven), "");
}

TEST(CliText, Utf8SequencesAreRecognisedAndMalformedOnesRefused)
{
    EXPECT_EQ(Utf8SequenceLength("a", 0), 1u);
    EXPECT_EQ(Utf8SequenceLength("\xC3\xA9", 0), 2u);          // é
    EXPECT_EQ(Utf8SequenceLength("\xE2\x82\xAC", 0), 3u);      // €
    EXPECT_EQ(Utf8SequenceLength("\xF0\x9F\x98\x80", 0), 4u);  // emoji
    EXPECT_EQ(Utf8SequenceLength("\xE9", 0), 0u);              // Latin-1 é alone
    EXPECT_EQ(Utf8SequenceLength("\xC3", 0), 0u);              // cut short
    EXPECT_EQ(Utf8SequenceLength("\xC0\xAF", 0), 0u);          // overlong '/'
    EXPECT_EQ(Utf8SequenceLength("\xE0\x80\xAF", 0), 0u);      // overlong
    EXPECT_EQ(Utf8SequenceLength("\xED\xA0\x80", 0), 0u);      // surrogate
    EXPECT_EQ(Utf8SequenceLength("\xF4\x90\x80\x80", 0), 0u);  // above U+10FFFF
    EXPECT_EQ(Utf8SequenceLength("\x80", 0), 0u);              // stray continuation
    EXPECT_EQ(Utf8SequenceLength("\xC3\x41", 0), 0u);          // lead without continuation
}

TEST(CliText, TerminalEscapesControlsInvalidBytesAndBackslash)
{
    EXPECT_EQ(EscapeForTerminal("NAS 1, \"x\""), "NAS 1, \"x\"");
    EXPECT_EQ(EscapeForTerminal(std::string("a\x07" "b\x1b[2Jc\x7f", 9)), "a\\x07b\\x1B[2Jc\\x7F");
    EXPECT_EQ(EscapeForTerminal(std::string("\0x", 2)), "\\x00x");
    EXPECT_EQ(EscapeForTerminal("caf\xC3\xA9"), "caf\xC3\xA9");      // well-formed UTF-8 shown
    EXPECT_EQ(EscapeForTerminal("caf\xE9"), "caf\\xE9");              // Latin-1 byte escaped
    EXPECT_EQ(EscapeForTerminal("\xC2\x9B" "31m"), "\\xC2\\x9B31m");  // C1 CSI in UTF-8
    EXPECT_EQ(EscapeForTerminal("a\\x07"), "a\\\\x07");               // a literal backslash stays distinct
}

TEST(CliText, JsonStringsAreAlwaysValidJson)
{
    EXPECT_EQ(JsonString(""), "\"\"");
    EXPECT_EQ(JsonString("say \"hi\"\\"), "\"say \\\"hi\\\"\\\\\"");
    EXPECT_EQ(JsonString("\b\f\n\r\t"), "\"\\b\\f\\n\\r\\t\"");
    EXPECT_EQ(JsonString(std::string("\0\x07\x1f\x7f", 4)), "\"\\u0000\\u0007\\u001f\\u007f\"");
    EXPECT_EQ(JsonString("caf\xC3\xA9"), "\"caf\xC3\xA9\"");
    // Bytes that are no UTF-8 are read as Latin-1: 0xE9 is U+00E9.
    EXPECT_EQ(JsonString("caf\xE9"), "\"caf\\u00e9\"");
    EXPECT_EQ(JsonString("\xFF\xC3"), "\"\\u00ff\\u00c3\"");
    EXPECT_EQ(JsonString("/<>@,"), "\"/<>@,\"");
}

TEST(CliText, CsvQuotesOnlyWhatNeedsIt)
{
    EXPECT_EQ(CsvField("plain text"), "plain text");
    EXPECT_EQ(CsvField(""), "");
    EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(CsvField("two\r\nlines"), "\"two\r\nlines\"");
    EXPECT_EQ(CsvField("bell\x07"), "\"bell\x07\"");
    EXPECT_EQ(CsvField("caf\xE9"), "caf\xE9");  // bytes pass as received
}

TEST(CliText, TableAlignsColumnsByCharactersNotBytes)
{
    std::vector<CliDevice> devices = {
        Device(0, "198.18.0.20", "1.0", "caf\xC3\xA9", "198.18.0.1", "02:00:00:00:00:01", "255.255.255.0", 0),
        Device(1, "198.18.0.200", "12.5", "b\x07", "198.18.0.1", "02:00:00:00:00:02", "255.255.0.0", -1, "veth1"),
    };
    std::string table = FormatTable(devices);
    EXPECT_EQ(table,
        "No.  IP Address    Version  Hostname  Gateway     MAC Address        Netmask        Mode    Interface\n"
        "0    198.18.0.20   1.0      caf\xC3\xA9      198.18.0.1  02:00:00:00:00:01  255.255.255.0  static  eth0\n"
        "1    198.18.0.200  12.5     b\\x07     198.18.0.1  02:00:00:00:00:02  255.255.0.0            veth1\n");
}

// CJK characters take two terminal columns each; a combining accent none.
TEST(CliText, TableAlignsWideCharactersByTheirColumns)
{
    std::vector<CliDevice> devices = {
        Device(0, "198.18.0.20", "1.0", "\xE6\x9D\xB1\xE4\xBA\xAC\xE3\x81\xAE-nas", "198.18.0.1",
            "02:00:00:00:00:01", "255.255.255.0", 0),
        Device(1, "198.18.0.21", "1.0", "nas", "198.18.0.1", "02:00:00:00:00:02", "255.255.255.0", 0),
        Device(2, "198.18.0.22", "1.0", "cafe\xCC\x81", "198.18.0.1", "02:00:00:00:00:03", "255.255.255.0", 0),
    };
    EXPECT_EQ(FormatTable(devices),
        "No.  IP Address   Version  Hostname    Gateway     MAC Address        Netmask        Mode    Interface\n"
        "0    198.18.0.20  1.0      \xE6\x9D\xB1\xE4\xBA\xAC\xE3\x81\xAE-nas  198.18.0.1  02:00:00:00:00:01  255.255.255.0  static  eth0\n"
        "1    198.18.0.21  1.0      nas         198.18.0.1  02:00:00:00:00:02  255.255.255.0  static  eth0\n"
        "2    198.18.0.22  1.0      cafe\xCC\x81        198.18.0.1  02:00:00:00:00:03  255.255.255.0  static  eth0\n");
}

TEST(CliText, TableLinesCarryNoTrailingSpaces)
{
    std::string table = FormatTable({ Device(0, "10.0.0.5", "", "", "", "", "", -1, "") });
    EXPECT_EQ(table.find(" \n"), std::string::npos);
}

TEST(CliText, JsonArrayHoldsOneObjectPerDevice)
{
    EXPECT_EQ(FormatJson({}), "[]\n");
    std::vector<CliDevice> devices = {
        Device(0, "10.0.0.5", "V", "H \"q\"", "G", "M", "N", 1),
        Device(1, "10.0.0.6", "", "\xE9", "", "", "", -1, ""),
    };
    EXPECT_EQ(FormatJson(devices),
        "[\n"
        "  {\"no\": 0, \"address\": \"10.0.0.5\", \"version\": \"V\", \"hostname\": \"H \\\"q\\\"\", \"gateway\": \"G\", "
        "\"mac\": \"M\", \"netmask\": \"N\", \"mode\": \"dhcp\", \"interface\": \"eth0\"},\n"
        "  {\"no\": 1, \"address\": \"10.0.0.6\", \"version\": \"\", \"hostname\": \"\\u00e9\", \"gateway\": \"\", "
        "\"mac\": \"\", \"netmask\": \"\", \"mode\": \"\", \"interface\": \"\"}\n"
        "]\n");
}

TEST(CliText, CsvHasHeadingAndCrLfLines)
{
    EXPECT_EQ(FormatCsv({}), "No.,IP Address,Version,Hostname,Gateway,MAC Address,Netmask,Mode,Interface\r\n");
    std::string csv = FormatCsv({ Device(0, "10.0.0.5", "1,2", "a\"b", "G", "M", "N", 0) });
    EXPECT_EQ(csv,
        "No.,IP Address,Version,Hostname,Gateway,MAC Address,Netmask,Mode,Interface\r\n"
        "0,10.0.0.5,\"1,2\",\"a\"\"b\",G,M,N,static,eth0\r\n");
}

} // namespace
