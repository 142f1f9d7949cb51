#pragma once

// The devices orbisk-cli has heard, kept between runs so that a device can be
// woken or waited for by name after it has gone quiet.
//
// One plain text file, $XDG_STATE_HOME/orbisk/devices: a version line, then
// one line per device, fields separated by tabs; a tab, line break or
// backslash inside a field is written \t, \n, \r or \\. It is replaced whole
// (a temporary file in the same directory, fsync, rename), so a crash or a
// full disk leaves the old file or the new one, never half of one.

#include "cli_text.h"
#include "status.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <unordered_map>
#include <vector>

struct KnownDevice {
    CliDevice device;      // reply.ifindex and interfaceName: the port it answered on
    int64_t lastSeenNs = 0; // CLOCK_REALTIME
};

// Where the record lives; "" when there is no home directory to put it in.
std::string DeviceRecordPath();

// ORBISK_NO_STATE set to anything but "" or "0": nothing is recorded.
bool RecordingOff();

// The identity of a device across runs: its MAC address in one notation,
// or its address when it sent no valid one.
std::string DeviceKey(const DeviceReply& reply);

class CDeviceRecord {
public:
    explicit CDeviceRecord(std::string path = DeviceRecordPath()) : m_path(std::move(path)) {}

    // Reads the file; none is an empty record. One that cannot be read or
    // parsed gives one warning on err and is renamed aside, so the next Save
    // does not overwrite it; when even that fails, Save refuses.
    void Load(std::ostream& err);
    // Adds the device or updates it, heard at nowNs.
    void Note(const CliDevice& device, int64_t nowNs);
    void Clear();
    Status Save() const;

    // Newest first.
    std::vector<KnownDevice> Newest() const;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    std::vector<KnownDevice> m_devices;
    std::unordered_map<std::string, size_t> m_index; // DeviceKey to its place in m_devices
    bool m_keepOut = false; // a broken file is still in the way
};

// Records what a command heard: loads, notes each device, saves. A failure
// is a warning on err; the command goes on. Nothing when recording is off.
void Remember(const std::vector<CliDevice>& heard, std::ostream& err);

// The text of a record and back, for the file and its tests.
std::string RecordText(const std::vector<KnownDevice>& devices);
Result<std::vector<KnownDevice>> ParseRecord(const std::string& text);
