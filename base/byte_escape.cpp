#include "byte_escape.h"

#include <cstdio>

namespace {

void AppendHex(std::string& out, unsigned char byte)
{
    char code[8];
    std::snprintf(code, sizeof code, "\\x%02X", byte);
    out += code;
}

Status Broken(std::string why, std::string_view text)
{
    return Status::Refused(std::errc::invalid_argument, why + " in \"" + std::string(text) + "\"");
}

Result<std::string> DecodeHex(std::string_view text)
{
    std::string bytes;
    int high = -1;
    for (char c : text.substr(4)) {
        if (c == ' ' && high < 0)
            continue;
        int digit = HexDigit(c);
        if (digit < 0)
            return Broken("bad hex digit", text);
        if (high < 0) {
            high = digit;
        } else {
            bytes += static_cast<char>(high * 16 + digit);
            high = -1;
        }
    }
    if (high >= 0)
        return Broken("odd number of hex digits", text);
    return bytes;
}

} // namespace

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
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

Result<std::string> UnescapeBytes(std::string_view text)
{
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            bytes += text[i];
            continue;
        }
        if (++i == text.size())
            return Broken("trailing backslash", text);
        switch (text[i]) {
        case '\\': bytes += '\\'; break;
        case '0': bytes += '\0'; break;
        case 'n': bytes += '\n'; break;
        case 'r': bytes += '\r'; break;
        case 't': bytes += '\t'; break;
        case 'x': {
            int high = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
            int low = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
            if (high < 0 || low < 0)
                return Broken("\\x needs two hex digits", text);
            bytes += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default:
            return Broken(std::string("unknown escape \\") + text[i], text);
        }
    }
    return bytes;
}

Result<std::string> DecodeBytes(std::string_view text)
{
    return text.starts_with("hex:") ? DecodeHex(text) : UnescapeBytes(text);
}

std::string EscapeSeparators(std::string_view text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

size_t Utf8SequenceLength(std::string_view text, size_t i)
{
    auto at = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char lead = at(i);
    if (lead < 0x80)
        return 1;
    size_t length;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // overlong
        if (lead == 0xED)
            high = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90; // overlong
        if (lead == 0xF4)
            high = 0x8F; // above U+10FFFF
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    if (at(i + 1) < low || at(i + 1) > high)
        return 0;
    for (size_t k = 2; k < length; ++k) {
        if ((at(i + k) & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

std::string EscapeForTerminal(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t length = Utf8SequenceLength(text, i);
        // C1 controls arrive as C2 80..9F; some terminals act on them.
        bool c1 = length == 2 && c == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0;
        if (length == 0 || c1) {
            AppendHex(out, c);
            ++i;
        } else if (length > 1) {
            out.append(text.substr(i, length));
            i += length;
        } else {
            if (c < 0x20 || c == 0x7F)
                AppendHex(out, c);
            else if (c == '\\')
                out += "\\\\";
            else
                out += static_cast<char>(c);
            ++i;
        }
    }
    return out;
}
