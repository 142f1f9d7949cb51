#pragma once

// The devices heard before, kept between runs by orbisk-cli and the desktop
// alike, so that a device can be woken or waited for after it has gone quiet.
//
// One plain text file, $XDG_STATE_HOME/orbisk/devices: a version line, then
// one line per device, fields separated by tabs; a tab, line break or
// backslash inside a field is written \t, \n, \r or \\. It is replaced whole
// (a temporary file in the same directory, fsync, rename), so a crash or a
// full disk leaves the old file or the new one, never half of one. Writers
// take the lock file beside it and read the record again first, so two
// programs writing at once both keep their devices.

#include "status.h"
#include "wire.h"

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

// One device as heard: reply.ifindex and interfaceName are the port it answered on.
struct HeardDevice {
    DeviceReply reply;
    std::string interfaceName;
};

struct KnownDevice {
    HeardDevice device;
    int64_t lastSeenNs = 0; // CLOCK_REALTIME
};

// What reading the record met, for the operator.
struct RecordProblem {
    enum Kind {
        None,
        SetAside,     // the file was no record: moved to `aside`
        LeftInPlace,  // no record, and it could not be moved: nothing is written
        LinesSkipped, // `lines` lines could not be read: left out, dropped at the next write
    };
    Kind kind = None;
    std::string path;
    std::string why;   // SetAside, LeftInPlace: what is wrong with it
    std::string aside; // SetAside
    int lines = 0;     // LinesSkipped
};

// The problem in one English sentence, without a line break; "" for none.
std::string ProblemText(const RecordProblem& problem);

// Where the record lives; "" when there is no home directory to put it in.
std::string DeviceRecordPath();

// ORBISK_NO_STATE set to anything but "" or "0": nothing is recorded.
bool RecordingOff();

class CDeviceRecord {
public:
    explicit CDeviceRecord(std::string path = DeviceRecordPath()) : m_path(std::move(path)) {}

    // Reads the file; none is an empty record. A file that is no record is
    // renamed aside under the lock, so the next Save does not overwrite it;
    // when even that fails, or it is no plain file, Save refuses. Unreadable lines are left
    // out. Either is Problem() afterwards.
    void Load();
    // Adds the device or updates it, heard at nowNs.
    void Note(const HeardDevice& device, int64_t nowNs);
    // Removes the device of that key; false when there was none.
    bool Forget(const std::string& key);
    void Clear();
    Status Save() const;

    // Newest first.
    std::vector<KnownDevice> Newest() const;
    const std::string& Path() const { return m_path; }
    const RecordProblem& Problem() const { return m_problem; }

private:
    std::string m_path;
    std::vector<KnownDevice> m_devices;
    std::unordered_map<std::string, size_t> m_index; // RecordKey to its place in m_devices
    bool m_keepOut = false;   // a broken file is still in the way
    bool m_holdsLock = false; // within UpdateRecord
    RecordProblem m_problem;

    friend Status UpdateRecord(const std::string& path, const std::function<void(CDeviceRecord&)>& change,
        RecordProblem& problem);
};

// The one way to write the record: under its lock, reads it again, lets
// `change` add, update or remove devices, and writes it back. `problem` is
// what the reading met. A lock held elsewhere for seconds is a failure.
Status UpdateRecord(const std::string& path, const std::function<void(CDeviceRecord&)>& change,
    RecordProblem& problem);

// Records what a scan heard, at once. Nothing when recording is off or
// nothing was heard.
Status RecordHeard(const std::vector<HeardDevice>& heard, RecordProblem& problem,
    const std::string& path = DeviceRecordPath());

// The text of a record and back, for the file and its tests. Lines that
// cannot be read are counted in `skipped` and left out; a text whose first
// line is not the version line is a failure.
std::string RecordText(const std::vector<KnownDevice>& devices);
Result<std::vector<KnownDevice>> ParseRecord(const std::string& text, int* skipped = nullptr);
