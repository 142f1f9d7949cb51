#pragma once

// watch --textfile: the devices a watch has seen, as Prometheus's text
// exposition format, for the node exporter's textfile collector. Every label
// value is bytes from the network, so it is made well-formed UTF-8 and
// escaped before it goes into the file.

#include "cli_text.h"
#include "status.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

// A label value without its quotes: each byte that is not part of well-formed
// UTF-8 becomes U+FFFD; a backslash, a double quote and a line feed are
// written \\, \" and \n.
std::string PromLabelValue(std::string_view text);

// Replaces the file whole: a temporary file in the same directory (a name
// the collector skips), written, flushed to disk, made readable by all and
// renamed over it, so a reader sees the old file or the new one and a failure
// leaves neither a half-written file nor the temporary one. When the path is
// a symbolic link, the file it points to is replaced and the link kept.
Status WriteTextfile(const std::string& path, const std::string& text);
// Whether WriteTextfile can work there: a temporary file made and removed.
Status CheckTextfile(const std::string& path);

// What a watch has seen, round by round. A device stays listed once seen,
// down when gone, so that an alert can fire on it.
class CWatchMetrics {
public:
    // A round's end: `present` holds the devices that count as there (heard
    // this round, or missed fewer times than make one gone), by the watch's
    // key, with whether this round heard each.
    struct Present {
        const CliDevice* device;
        bool heard;
    };
    void Round(const std::map<std::string, Present>& present, int64_t durationNs, int64_t realtimeNs);

    // The whole file.
    std::string Text() const;

private:
    struct Entry {
        CliDevice device; // as last heard
        bool up = false;
        int64_t lastSeenNs = 0;
    };
    std::map<std::string, Entry> m_devices;
    int m_answering = 0;
    int64_t m_durationNs = 0;
    int64_t m_roundNs = 0;
    uint64_t m_rounds = 0;
};
