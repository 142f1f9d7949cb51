#pragma once

// Shared by the fuzz targets and by the corpus runner that replays them in
// the ordinary build. The checks must not depend on NDEBUG: RelWithDebInfo
// defines it, and a fuzz target that stops checking finds nothing.

#include "device_table.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#define FUZZ_CHECK(cond)                                                          \
    do {                                                                          \
        if (!(cond)) {                                                            \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                         \
        }                                                                         \
    } while (0)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fuzz {

// Cuts a fuzz input into pieces. Lengths come from the input itself, so the
// fuzzer can reach every split; running out of bytes yields zeros and empty
// pieces rather than failing, so every input is a valid one.
class Input {
public:
    Input(const uint8_t* data, size_t size) : m_data(reinterpret_cast<const char*>(data)), m_size(size) {}

    bool Empty() const { return m_pos >= m_size; }

    uint8_t Byte() { return Empty() ? 0 : static_cast<uint8_t>(m_data[m_pos++]); }

    std::string_view Take(size_t n)
    {
        size_t left = m_size - m_pos;
        if (n > left)
            n = left;
        std::string_view piece(m_data + m_pos, n);
        m_pos += n;
        return piece;
    }

    // One length byte, then that many bytes (fewer at the end of the input).
    std::string_view Chunk() { return Take(Byte()); }

    std::string_view Rest() { return Take(m_size - m_pos); }

private:
    const char* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// A copy of the bytes in a heap block of exactly their size: a read one byte
// past the end lands in the sanitizer's red zone instead of in a string's
// spare capacity or its terminating NUL.
class ExactBuffer {
public:
    explicit ExactBuffer(std::string_view bytes) : m_bytes(bytes.begin(), bytes.end()) { m_bytes.shrink_to_fit(); }
    const char* data() const { return m_bytes.data(); }
    int length() const { return static_cast<int>(m_bytes.size()); }
    std::string_view view() const { return { m_bytes.data(), m_bytes.size() }; }

private:
    std::vector<char> m_bytes;
};

// Reference readings of a discovery reply, written apart from the product
// code so that the two can disagree.

// Field j lies strictly between separator j and j+1 ('#' is separator 0, the
// rest are the '@' after it in order); without both it is empty.
inline std::vector<std::string> ReferenceFields(std::string_view text)
{
    std::vector<size_t> seps { 0 };
    for (size_t i = 1; i < text.size(); ++i)
        if (text[i] == '@')
            seps.push_back(i);
    std::vector<std::string> fields(6);
    for (size_t j = 0; j < 6 && j + 1 < seps.size(); ++j)
        fields[j] = std::string(text.substr(seps[j] + 1, seps[j + 1] - seps[j] - 1));
    return fields;
}

// Whether a row's cells are the reply's fields, each in its own column.
inline bool RowShowsFields(const DeviceRow& row, const std::vector<std::string>& f)
{
    return row.cells[ColGateway] == f[0] && row.cells[ColHostname] == f[1] && row.cells[ColMac] == f[2]
        && row.cells[ColVersion] == f[3] && row.cells[ColNetmask] == f[4];
}

// The last '0' or '1' between the fifth and the sixth '@' after the mark
// (or the end of the datagram); `current` when there is none.
inline int ReferenceMode(std::string_view datagram, int current)
{
    std::vector<size_t> seps;
    for (size_t i = 1; i < datagram.size(); ++i)
        if (datagram[i] == '@')
            seps.push_back(i);
    if (seps.size() < 5)
        return current;
    size_t end = seps.size() > 5 ? seps[5] : datagram.size();
    for (size_t i = end; i > seps[4] + 1; --i) {
        char c = datagram[i - 1];
        if (c == '0' || c == '1')
            return c - '0';
    }
    return current;
}

} // namespace fuzz
