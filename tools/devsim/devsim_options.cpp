#include "devsim_options.h"

#include "udp_socket.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <functional>

static int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool DecodeBytes(const std::string& text, std::string& bytes, std::string& error)
{
    bytes.clear();
    if (text.starts_with("hex:")) {
        int high = -1;
        for (char c : text.substr(4)) {
            if (c == ' ' && high < 0)
                continue;
            int digit = HexDigit(c);
            if (digit < 0) {
                error = "bad hex digit in \"" + text + "\"";
                return false;
            }
            if (high < 0) {
                high = digit;
            } else {
                bytes += static_cast<char>(high * 16 + digit);
                high = -1;
            }
        }
        if (high >= 0) {
            error = "odd number of hex digits in \"" + text + "\"";
            return false;
        }
        return true;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            bytes += text[i];
            continue;
        }
        if (++i == text.size()) {
            error = "trailing backslash in \"" + text + "\"";
            return false;
        }
        switch (text[i]) {
        case '\\': bytes += '\\'; break;
        case '0': bytes += '\0'; break;
        case 'n': bytes += '\n'; break;
        case 'r': bytes += '\r'; break;
        case 't': bytes += '\t'; break;
        case 'x': {
            int high = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
            int low = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
            if (high < 0 || low < 0) {
                error = "\\x needs two hex digits in \"" + text + "\"";
                return false;
            }
            bytes += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default:
            error = std::string("unknown escape \\") + text[i] + " in \"" + text + "\"";
            return false;
        }
    }
    return true;
}

std::string ToHex(std::string_view bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        hex += digits[b >> 4];
        hex += digits[b & 15];
    }
    return hex;
}

static bool ParseInt(const std::string& text, int low, int high, int& value)
{
    int parsed = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (ec != std::errc() || end != text.data() + text.size() || parsed < low || parsed > high)
        return false;
    value = parsed;
    return true;
}

namespace {

struct Option {
    const char* name;
    bool takesValue;
    // Returns an error text, empty when the value was taken.
    std::function<std::string(const std::string&)> take;
};

} // namespace

ParseResult ParseOptions(const std::vector<std::string>& args, SimOptions& o, std::string& error)
{
    bool help = false, version = false;
    auto text = [](std::string& field) {
        return [&field](const std::string& v) { field = v; return std::string(); };
    };
    auto number = [](int& field, int low, int high) {
        return [&field, low, high](const std::string& v) {
            return ParseInt(v, low, high, field)
                ? std::string()
                : "needs a whole number from " + std::to_string(low) + " to " + std::to_string(high);
        };
    };
    auto address = [](std::string& field) {
        return [&field](const std::string& v) {
            field = v;
            return IsDottedQuadIpv4(v) ? std::string() : "needs an IPv4 address, not \"" + v + "\"";
        };
    };
    auto bytes = [](std::vector<std::string>& list) {
        return [&list](const std::string& v) {
            std::string decoded, why;
            if (!DecodeBytes(v, decoded, why))
                return why;
            list.push_back(decoded);
            return std::string();
        };
    };
    auto flag = [](bool& field) {
        return [&field](const std::string&) { field = true; return std::string(); };
    };
    const int kMaxMs = 3600 * 1000;

    const Option table[] = {
        { "address", true, [&](const std::string& v) {
            if (!IsDottedQuadIpv4(v))
                return "needs an IPv4 address, not \"" + v + "\"";
            o.addresses.push_back(v);
            return std::string();
        } },
        { "count", true, number(o.count, 1, 65536) },
        { "hostname", true, text(o.hostname) },
        { "mac", true, text(o.mac) },
        { "firmware", true, text(o.version) },
        { "gateway", true, text(o.gateway) },
        { "netmask", true, text(o.netmask) },
        { "mode", true, number(o.mode, 0, 1) },
        { "user", true, text(o.user) },
        { "password", true, text(o.password) },
        { "reply-delay", true, number(o.replyDelayMs, 0, kMaxMs) },
        { "jitter", true, number(o.jitterMs, 0, kMaxMs) },
        { "duplicates", true, number(o.duplicates, 1, 1000) },
        { "raw-reply", true, bytes(o.rawReplies) },
        { "malformed", false, flag(o.malformed) },
        { "change-reply", true, [&](const std::string& v) {
            std::string decoded, why;
            if (!DecodeBytes(v, decoded, why))
                return why;
            o.changeReply = decoded;
            return std::string();
        } },
        { "loss", true, number(o.lossPercent, 0, 100) },
        { "seed", true, [&](const std::string& v) {
            unsigned seed = 0;
            auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), seed);
            if (ec != std::errc() || end != v.data() + v.size())
                return std::string("needs a whole number from 0 to 4294967295");
            o.seed = seed;
            return std::string();
        } },
        { "drop-first", true, number(o.dropFirst, 0, 1000000) },
        { "drop-first-replies", true, number(o.dropFirstReplies, 0, 1000000) },
        { "flood", true, number(o.floodRate, 1, 10000000) },
        { "flood-seconds", true, [&](const std::string& v) {
            char* end = nullptr;
            double seconds = std::strtod(v.c_str(), &end);
            if (v.empty() || *end != '\0' || !std::isfinite(seconds) || seconds <= 0 || seconds > 86400)
                return std::string("needs a positive number of seconds");
            o.floodSeconds = seconds;
            return std::string();
        } },
        { "flood-target", true, address(o.floodTarget) },
        { "every-length", true, address(o.everyLengthTarget) },
        { "unsolicited", true, bytes(o.unsolicited) },
        { "interval", true, number(o.intervalMs, 1, kMaxMs) },
        { "target", true, address(o.target) },
        { "log", true, text(o.logFile) },
        { "verbose", false, flag(o.verbose) },
        { "help", false, flag(help) },
        { "version", false, flag(version) },
    };

    for (size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        // "--" ends the options; the simulator takes no operands after it.
        if (arg == "--") {
            if (i + 1 < args.size()) {
                error = "unexpected argument \"" + args[i + 1] + "\"";
                return ParseResult::Error;
            }
            break;
        }
        if (arg == "-h")
            arg = "--help";
        if (arg == "-v")
            arg = "--verbose";
        if (!arg.starts_with("--")) {
            error = "unexpected argument \"" + arg + "\"";
            return ParseResult::Error;
        }
        std::string name = arg.substr(2);
        std::optional<std::string> value;
        if (size_t eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        }
        const Option* option = nullptr;
        for (const Option& candidate : table) {
            if (name == candidate.name)
                option = &candidate;
        }
        if (option == nullptr) {
            error = "unknown option --" + name;
            return ParseResult::Error;
        }
        if (!option->takesValue && value) {
            error = "--" + name + " takes no value";
            return ParseResult::Error;
        }
        if (option->takesValue && !value) {
            if (i + 1 == args.size()) {
                error = "--" + name + " needs a value";
                return ParseResult::Error;
            }
            value = args[++i];
        }
        if (std::string why = option->take(value.value_or("")); !why.empty()) {
            error = "--" + name + ": " + why;
            return ParseResult::Error;
        }
    }
    if (help)
        return ParseResult::Help;
    if (version)
        return ParseResult::Version;

    if (o.addresses.size() > 1 && o.count != 0 && o.count != static_cast<int>(o.addresses.size())) {
        error = "--count must match the number of --address options, or be used with one --address";
        return ParseResult::Error;
    }
    if (o.floodTarget.empty())
        o.floodTarget = o.target;
    if (o.floodRate > 0 && o.floodTarget.empty()) {
        error = "--flood needs --flood-target or --target";
        return ParseResult::Error;
    }
    if (!o.unsolicited.empty() && o.target.empty()) {
        error = "--unsolicited needs --target";
        return ParseResult::Error;
    }
    return ParseResult::Run;
}

const char* UsageText()
{
    return R"(Usage: orbisk-devsim [OPTIONS]

Plays one or more NAS devices on this host: answers the discovery request and
the address-change request on UDP port 10000, replying to the requester's
address, port 10001. Run it only inside a network namespace of the virtual LAN.

Devices:
  --address A          a device address (repeatable); with --count N, the first
                       of N consecutive addresses. Every address must already be
                       on an interface of the host. Default: the host's first
                       non-loopback IPv4 address (127.0.0.1 when there is none)
  --count N            number of devices (default: one per --address, or 1)
  --hostname TEXT      host name (default NAS); with several devices each gets
                       TEXT-0001, TEXT-0002, ...
  --mac TEXT           MAC address (default 02:00:00:00:00:01), incremented per
                       device when it is six hex octets
  --firmware TEXT      firmware version the devices report (default 1.0.0)
  --gateway A          gateway (default: the device's /24 with .1)
  --netmask A          netmask (default 255.255.255.0)
  --mode 0|1           address mode: 0 static, 1 DHCP (default 0)
  --user TEXT          administrator name (default admin)
  --password TEXT      administrator password (default admin)

Replies:
  --reply-delay MS     wait MS before each reply
  --jitter MS          add a random 0..MS to each device's delay
  --duplicates N       send every reply N times
  --raw-reply BYTES    answer a discovery request with BYTES instead of the
                       discovery reply (repeatable: all are sent, in order)
  --malformed          answer a discovery request with broken replies instead
                       (NUL bytes, bytes 0x80-0xFF, 1000 '@', no '@', '#' alone)
  --change-reply BYTES answer every change request addressed to a device with
                       BYTES, whatever the credentials, and change nothing

Loss (each device on its own, as broadcast over Wi-Fi):
  --loss PERCENT       drop PERCENT of the requests heard and, apart from
                       that, of the reply datagrams to be sent, each at random
  --seed N             seed of the random choices (default: from the clock)
  --drop-first N       drop the first N requests each device would act on
  --drop-first-replies N
                       drop the first N reply datagrams each device would send

Hostile traffic to port 10001 (sent from the first device address):
  --flood RATE         junk datagrams, RATE a second ...
  --flood-seconds S    ... for S seconds (default 10) ...
  --flood-target A     ... to A (default: --target)
  --every-length A     one datagram of every length 0..65507 to A, once
  --unsolicited BYTES  send BYTES from every device address every --interval
                       (repeatable) ...
  --interval MS        ... (default 1000) ...
  --target A           ... to A

Output:
  --log FILE           append every datagram received as one line,
                       "src=A:PORT dst=A len=N hex=...", flushed at once
  --verbose, -v        tell on stderr about every request handled
  --help, -h           this text
  --version            the simulator's own version

BYTES is text with the escapes \\ \0 \n \r \t \xHH, or "hex:" and hex digits
(e.g. hex:2430 is "$0").

A change request is taken by the device whose address is its current-address
field. With the right user and password the device first takes the new
configuration and then answers "$0", from its new address: a static change
moves the address on the interface (ip addr add, then ip addr del); DHCP keeps
the address and only reports mode 1 from then on. A static change to no dotted
IPv4 address or netmask, to another device's address, or one the interface
refuses is answered with "$2" and changes nothing. Wrong credentials get "$1".

SIGTERM or SIGINT ends the program with status 0; bad options give status 2,
a failure to start status 1.
)";
}
