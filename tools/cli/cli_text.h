#pragma once

// How orbisk-cli writes a scan's devices. Every device text is bytes from the
// network, so each format makes them safe its own way.

#include "byte_escape.h"     // EscapeForTerminal, Utf8SequenceLength
#include "device_identity.h" // the columns, ModeText

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct CliDevice {
    int number = 0;             // position in the listing, from 0
    DeviceReply reply;
    std::string interfaceName;  // the local interface that heard the reply, empty when unknown
    std::string lastSeen;       // remembered devices: when last heard, as TimestampText
};

// A JSON string literal with quotes. Well-formed UTF-8 passes through; every
// other byte of 0x80 and above is taken as Latin-1 and written \u00XX.
std::string JsonString(std::string_view text);

// One CSV field as RFC 4180 wants it: quoted, with quotes doubled, when it
// holds a comma, a quote, a line break or any other control character.
std::string CsvField(std::string_view text);

// Aligned columns with a heading line, rows in the order given; the
// interface column only when the request left by more than one port, the
// last-seen column for remembered devices.
std::string FormatTable(const std::vector<CliDevice>& devices, bool withInterface = true, bool withLastSeen = false);
// An array of objects; "[]" for none.
std::string FormatJson(const std::vector<CliDevice>& devices, bool withLastSeen = false);
// A heading line and one line per device, lines ended by CR LF.
std::string FormatCsv(const std::vector<CliDevice>& devices, bool withLastSeen = false);
// One device as a JSON object on one line, with or without its row number.
std::string JsonObject(const CliDevice& device, bool withNumber, bool withLastSeen = false);

// UTC time as RFC 3339, "2026-12-07T23:50:01Z", or with milliseconds
// "2026-12-07T23:50:01.234Z"; from ns since the epoch.
std::string TimestampText(int64_t realtimeNs, bool withMs = false);
