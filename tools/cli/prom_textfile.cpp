#include "prom_textfile.h"

#include "atomic_file.h"

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

// The directory part of a path, "." for none.
std::string DirectoryOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file to replace: the path, or where the link at the path points.
std::string Destination(const std::string& path)
{
    char target[PATH_MAX];
    ssize_t n = readlink(path.c_str(), target, sizeof target);
    if (n <= 0 || static_cast<size_t>(n) >= sizeof target)
        return path; // no link (or one too long to follow: the rename will say so)
    std::string link(target, static_cast<size_t>(n));
    return link[0] == '/' ? link : DirectoryOf(path) + "/" + link;
}

// A temporary name beside the file. It begins with a dot and does not end in
// ".prom", so the collector never reads it half-written.
std::string TemporaryBeside(const std::string& file)
{
    size_t slash = file.rfind('/');
    std::string base = slash == std::string::npos ? file : file.substr(slash + 1);
    return DirectoryOf(file) + "/." + base + ".XXXXXX";
}

// Seconds with milliseconds, as the format writes a float.
std::string Seconds(int64_t ns)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", static_cast<double>(ns) / 1e9);
    return text;
}

void Header(std::string& text, const char* name, const char* type, const char* help)
{
    text += std::string("# HELP ") + name + " " + help + "\n# TYPE " + name + " " + type + "\n";
}

std::string Label(const char* name, std::string_view value)
{
    return std::string(name) + "=\"" + PromLabelValue(value) + "\"";
}

} // namespace

std::string PromLabelValue(std::string_view text)
{
    std::string value;
    value.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        size_t length = Utf8SequenceLength(text, i);
        if (length == 0) {
            value += "\xEF\xBF\xBD"; // U+FFFD
            ++i;
            continue;
        }
        char c = text[i];
        if (c == '\\')
            value += "\\\\";
        else if (c == '"')
            value += "\\\"";
        else if (c == '\n')
            value += "\\n";
        else
            value.append(text.substr(i, length));
        i += length;
    }
    return value;
}

Status WriteTextfile(const std::string& path, const std::string& text)
{
    std::string file = Destination(path);
    // The collector runs as another user.
    return Status::FromErrno(ReplaceFile(file, TemporaryBeside(file), text, 0644), "could not write " + file);
}

Status CheckTextfile(const std::string& path)
{
    std::string file = Destination(path);
    std::string temp = TemporaryBeside(file);
    int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return Status::FromErrno(errno, "cannot write " + file);
    close(fd);
    unlink(temp.c_str());
    return {};
}

void CWatchMetrics::Round(const std::map<std::string, Present>& present, int64_t durationNs, int64_t realtimeNs)
{
    for (auto& [key, entry] : m_devices)
        entry.up = false;
    m_answering = 0;
    for (const auto& [key, seen] : present) {
        Entry& entry = m_devices[key];
        entry.up = true;
        if (seen.heard) {
            entry.device = *seen.device;
            entry.lastSeenNs = realtimeNs;
            ++m_answering;
        }
    }
    m_durationNs = durationNs;
    m_roundNs = realtimeNs;
    ++m_rounds;
}

std::string CWatchMetrics::Text() const
{
    std::string text;
    Header(text, "orbisk_device_up", "gauge",
        "Whether the device is there: 1 while it answers, 0 once it missed --misses rounds in a row.");
    for (const auto& [key, entry] : m_devices)
        text += "orbisk_device_up{" + Label("device", key) + "} " + (entry.up ? "1" : "0") + "\n";
    Header(text, "orbisk_device_info", "gauge", "The device's fields as last heard; always 1.");
    for (const auto& [key, entry] : m_devices) {
        const DeviceReply& r = entry.device.reply;
        text += "orbisk_device_info{" + Label("device", key) + "," + Label("mac", r.mac) + ","
            + Label("hostname", r.hostname) + "," + Label("address", r.sender) + "," + Label("version", r.version)
            + "," + Label("netmask", r.netmask) + "," + Label("gateway", r.gateway) + ","
            + Label("mode", ModeText(r.mode)) + "," + Label("interface", entry.device.interfaceName) + "} 1\n";
    }
    Header(text, "orbisk_device_last_seen_timestamp_seconds", "gauge",
        "When the device last answered, in seconds since 1970.");
    for (const auto& [key, entry] : m_devices)
        text += "orbisk_device_last_seen_timestamp_seconds{" + Label("device", key) + "} " + Seconds(entry.lastSeenNs)
            + "\n";
    Header(text, "orbisk_watch_devices", "gauge", "Devices that answered in the last round.");
    text += "orbisk_watch_devices " + std::to_string(m_answering) + "\n";
    Header(text, "orbisk_watch_round_duration_seconds", "gauge", "How long the last round's scan took.");
    text += "orbisk_watch_round_duration_seconds " + Seconds(m_durationNs) + "\n";
    Header(text, "orbisk_watch_last_round_timestamp_seconds", "gauge",
        "When the last round ended, in seconds since 1970.");
    text += "orbisk_watch_last_round_timestamp_seconds " + Seconds(m_roundNs) + "\n";
    Header(text, "orbisk_watch_rounds_total", "counter", "Rounds since the watch started.");
    text += "orbisk_watch_rounds_total " + std::to_string(m_rounds) + "\n";
    return text;
}
