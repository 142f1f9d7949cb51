#include "cli_text.h"

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <ctime>
#include <cwchar>

#include <locale.h>
#include <wchar.h>

namespace {

// The device's columns, then the interface and, for remembered devices, the last seen.
constexpr int kInterfaceColumn = kReplyColumns;
constexpr int kLastSeenColumn = kReplyColumns + 1;

ColumnName NameOf(int column)
{
    if (column == kInterfaceColumn)
        return { "Interface", "interface" };
    if (column == kLastSeenColumn)
        return { "Last Seen", "last_seen" };
    return kColumnNames[column];
}

// The columns a listing shows, in order: the last seen only for remembered devices.
std::vector<int> Columns(bool withInterface, bool withLastSeen)
{
    std::vector<int> columns;
    for (int column = 0; column < kInterfaceColumn; ++column)
        columns.push_back(column);
    if (withInterface)
        columns.push_back(kInterfaceColumn);
    if (withLastSeen)
        columns.push_back(kLastSeenColumn);
    return columns;
}

std::string Cell(const CliDevice& device, int column)
{
    if (column == ColNumber)
        return std::to_string(device.number);
    if (column == kInterfaceColumn)
        return device.interfaceName;
    if (column == kLastSeenColumn)
        return device.lastSeen;
    return ColumnText(device.reply, column);
}

void AppendJsonEscape(std::string& out, unsigned char byte)
{
    char code[8];
    std::snprintf(code, sizeof code, "\\u%04x", byte);
    out += code;
}

// Code point of the well-formed UTF-8 sequence of `length` bytes at text[i].
char32_t DecodeUtf8(std::string_view text, size_t i, size_t length)
{
    static const unsigned char kLeadMask[] = { 0, 0x7F, 0x1F, 0x0F, 0x07 };
    char32_t code = static_cast<unsigned char>(text[i]) & kLeadMask[length];
    for (size_t k = 1; k < length; ++k)
        code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    return code;
}

// Columns one code point takes in a terminal. wcwidth follows LC_CTYPE, so it
// is asked under C.UTF-8 whatever the user's locale: the table's bytes are
// UTF-8 in any case. Without that locale every code point counts as one.
int CodePointWidth(char32_t code)
{
    static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    if (code < 0x80 || utf8 == static_cast<locale_t>(0))
        return 1;
    locale_t previous = uselocale(utf8);
    int width = wcwidth(static_cast<wchar_t>(code));
    uselocale(previous);
    // Unassigned or unprintable: terminals draw these as one cell, mostly.
    return width < 0 ? 1 : width;
}

// Columns on screen of an escaped text: ASCII and well-formed UTF-8 only.
size_t DisplayWidth(std::string_view text)
{
    size_t width = 0;
    for (size_t i = 0; i < text.size();) {
        size_t length = std::max<size_t>(Utf8SequenceLength(text, i), 1);
        width += CodePointWidth(DecodeUtf8(text, i, length));
        i += length;
    }
    return width;
}

} // namespace

std::string JsonString(std::string_view text)
{
    std::string out = "\"";
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t length = Utf8SequenceLength(text, i);
        if (length > 1) {
            out.append(text.substr(i, length));
            i += length;
            continue;
        }
        ++i;
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c >= 0x7F)
                AppendJsonEscape(out, c);
            else
                out += static_cast<char>(c);
        }
    }
    out += '"';
    return out;
}

std::string CsvField(std::string_view text)
{
    bool quote = false;
    for (unsigned char c : text)
        quote = quote || c == ',' || c == '"' || c < 0x20 || c == 0x7F;
    if (!quote)
        return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        out += c;
        if (c == '"')
            out += '"';
    }
    out += '"';
    return out;
}

std::string FormatTable(const std::vector<CliDevice>& devices, bool withInterface, bool withLastSeen)
{
    const std::vector<int> columns = Columns(withInterface, withLastSeen);
    std::vector<std::vector<std::string>> lines(1);
    for (int column : columns)
        lines[0].emplace_back(NameOf(column).heading);
    for (const CliDevice& device : devices) {
        std::vector<std::string> line;
        for (int column : columns)
            line.push_back(EscapeForTerminal(Cell(device, column)));
        lines.push_back(line);
    }
    std::vector<size_t> widths(columns.size());
    for (const auto& line : lines) {
        for (size_t i = 0; i < columns.size(); ++i)
            widths[i] = std::max(widths[i], DisplayWidth(line[i]));
    }
    std::string out;
    for (const auto& line : lines) {
        std::string text;
        for (size_t i = 0; i < columns.size(); ++i) {
            text += line[i];
            if (i + 1 < columns.size())
                text.append(widths[i] - DisplayWidth(line[i]) + 2, ' ');
        }
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        out += text + '\n';
    }
    return out;
}

std::string JsonObject(const CliDevice& device, bool withNumber, bool withLastSeen)
{
    std::string out = "{";
    for (int column : Columns(true, withLastSeen)) {
        if (column == ColNumber && !withNumber)
            continue;
        if (out.size() > 1)
            out += ", ";
        out += '"';
        out += NameOf(column).key;
        out += "\": ";
        // The row number is the only number; it is written by this program.
        if (column == ColNumber)
            out += Cell(device, column);
        else
            out += JsonString(Cell(device, column));
    }
    return out + "}";
}

std::string FormatJson(const std::vector<CliDevice>& devices, bool withLastSeen)
{
    if (devices.empty())
        return "[]\n";
    std::string out = "[\n";
    for (size_t i = 0; i < devices.size(); ++i)
        out += "  " + JsonObject(devices[i], true, withLastSeen) + (i + 1 < devices.size() ? ",\n" : "\n");
    out += "]\n";
    return out;
}

std::string FormatCsv(const std::vector<CliDevice>& devices, bool withLastSeen)
{
    const std::vector<int> columns = Columns(true, withLastSeen);
    std::string out;
    for (int column : columns)
        out += std::string(column ? "," : "") + CsvField(NameOf(column).heading);
    out += "\r\n";
    for (const CliDevice& device : devices) {
        for (int column : columns)
            out += std::string(column ? "," : "") + CsvField(Cell(device, column));
        out += "\r\n";
    }
    return out;
}

std::string TimestampText(int64_t realtimeNs, bool withMs)
{
    time_t seconds = static_cast<time_t>(realtimeNs / 1000000000);
    tm utc {};
    gmtime_r(&seconds, &utc);
    char text[40];
    size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
    if (withMs)
        std::snprintf(text + length, sizeof text - length, ".%03dZ", static_cast<int>(realtimeNs / 1000000 % 1000));
    else
        std::snprintf(text + length, sizeof text - length, "Z");
    return text;
}
