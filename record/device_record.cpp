#include "device_record.h"

#include "atomic_file.h"
#include "byte_escape.h"
#include "device_identity.h"
#include "read_number.h"
#include "reply_channel.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <sstream>

namespace {

constexpr const char* kHeader = "orbisk-devices 1";
constexpr int kFields = 10;
// A line begins with these columns; the port's name and index and the time follow.
constexpr int kRecordColumns[] = { ColMac, ColAddress, ColHostname, ColVersion, ColNetmask, ColGateway, ColMode };
// How long a writer waits for another to finish; a write takes milliseconds.
constexpr int kLockWaitMs = 5000;

std::optional<AddressMode> ModeOfText(std::string_view text)
{
    if (text == "static")
        return AddressMode::Static;
    if (text == "dhcp")
        return AddressMode::Dhcp;
    if (text.empty())
        return AddressMode::NotGiven;
    return std::nullopt;
}

std::optional<KnownDevice> ParseLine(const std::string& line)
{
    std::vector<std::string> fields;
    size_t start = 0;
    while (true) {
        size_t tab = line.find('\t', start);
        Result<std::string> field = UnescapeBytes(std::string_view(line).substr(start, tab - start));
        if (!field.Ok())
            return std::nullopt;
        fields.push_back(std::move(*field));
        if (tab == std::string::npos)
            break;
        start = tab + 1;
    }
    if (fields.size() != kFields)
        return std::nullopt;
    KnownDevice known;
    DeviceReply& r = known.device.reply;
    r.mac = fields[0];
    r.sender = fields[1];
    r.hostname = fields[2];
    r.version = fields[3];
    r.netmask = fields[4];
    r.gateway = fields[5];
    std::optional<AddressMode> mode = ModeOfText(fields[6]);
    known.device.interfaceName = fields[7];
    std::optional<unsigned> ifindex = ReadNumber(fields[8], 0u, ~0u);
    // Seconds, within what a time in ns can hold.
    std::optional<int64_t> seen = ReadNumber(fields[9], INT64_MIN / 1000000000, INT64_MAX / 1000000000);
    if (!mode || !ifindex || !seen)
        return std::nullopt;
    r.mode = *mode;
    r.ifindex = *ifindex;
    known.lastSeenNs = *seen * 1000000000;
    return known;
}

// The file is whole or not there, and private to the user.
Status WriteWhole(const std::string& path, const std::string& text)
{
    return Status::FromErrno(ReplaceFile(path, path + ".XXXXXX", text, 0600), "Could not write " + path);
}

// Each missing directory of the path, private to the user as the state
// directory is meant to be.
Status MakeDirectories(const std::string& directory)
{
    for (size_t slash = directory.find('/', 1);; slash = directory.find('/', slash + 1)) {
        std::string part = directory.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return Status::FromErrno(errno, "Could not create " + part);
        if (slash == std::string::npos)
            return {};
    }
}

// A name beside the file that is not taken yet: devices.corrupt-TIME[.N].
std::string AsideName(const std::string& path)
{
    time_t now = time(nullptr);
    tm utc {};
    gmtime_r(&now, &utc);
    char stamp[32];
    strftime(stamp, sizeof stamp, "%Y-%m-%dT%H%M%SZ", &utc);
    std::string base = path + ".corrupt-" + stamp;
    std::string name = base;
    for (int n = 1; access(name.c_str(), F_OK) == 0; ++n)
        name = base + "." + std::to_string(n);
    return name;
}

// The whole file; ENOENT when there is none, EISDIR and the like when it is
// no plain file.
Result<std::string> ReadRecordFile(const std::string& path)
{
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return Status::FromErrno(errno, "cannot be read");
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        int error = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        close(fd);
        return Status::FromErrno(error, "is no plain file");
    }
    std::string text;
    char buffer[65536];
    while (true) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            int error = errno;
            close(fd);
            return Status::FromErrno(error, "cannot be read");
        }
        if (n == 0)
            break;
        text.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    return text;
}

// flock on a file beside the record: the record itself is replaced by
// rename, so a lock on it would lock a file no longer there.
class CRecordLock {
public:
    ~CRecordLock()
    {
        if (m_fd >= 0)
            close(m_fd); // releases the lock
    }
    Status Take(const std::string& path)
    {
        std::string name = path + ".lock";
        m_fd = open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (m_fd < 0)
            return Status::FromErrno(errno, "Could not open " + name);
        for (int waited = 0;; waited += 10) {
            if (flock(m_fd, LOCK_EX | LOCK_NB) == 0)
                return {};
            if (errno != EWOULDBLOCK && errno != EINTR)
                return Status::FromErrno(errno, "Could not lock " + name);
            if (waited >= kLockWaitMs)
                return Status::Refused(std::errc::resource_unavailable_try_again,
                    "Another program has held " + name + " for " + std::to_string(kLockWaitMs / 1000) + " s");
            usleep(10000);
        }
    }

private:
    int m_fd = -1;
};

} // namespace

std::string ProblemText(const RecordProblem& p)
{
    switch (p.kind) {
    case RecordProblem::SetAside:
        return "the record of remembered devices " + p.path + " is broken (" + p.why + "); it is kept as " + p.aside
            + " and a new one is started";
    case RecordProblem::LeftInPlace:
        return "the record of remembered devices " + p.path + " is broken (" + p.why + ") and left as it is, "
            "so nothing is recorded";
    case RecordProblem::LinesSkipped:
        return std::to_string(p.lines) + (p.lines == 1 ? " line" : " lines") + " of the record of remembered devices "
            + p.path + " could not be read and " + (p.lines == 1 ? "is" : "are") + " left out";
    case RecordProblem::None: break;
    }
    return {};
}

std::string DeviceRecordPath()
{
    const char* state = getenv("XDG_STATE_HOME");
    // A relative value is to be ignored, as the base directory rules say.
    if (state != nullptr && state[0] == '/')
        return std::string(state) + "/orbisk/devices";
    const char* home = getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        const passwd* user = getpwuid(getuid());
        home = user != nullptr ? user->pw_dir : nullptr;
    }
    if (home == nullptr || home[0] != '/')
        return {};
    return std::string(home) + "/.local/state/orbisk/devices";
}

bool RecordingOff()
{
    const char* off = getenv("ORBISK_NO_STATE");
    return off != nullptr && off[0] != '\0' && std::string_view(off) != "0";
}

std::string RecordText(const std::vector<KnownDevice>& devices)
{
    std::string text = std::string(kHeader) + "\n";
    for (const KnownDevice& known : devices) {
        const DeviceReply& r = known.device.reply;
        std::vector<std::string> fields;
        for (int column : kRecordColumns)
            fields.push_back(ColumnText(r, column));
        fields.insert(fields.end(),
            { known.device.interfaceName, std::to_string(r.ifindex), std::to_string(known.lastSeenNs / 1000000000) });
        for (size_t i = 0; i < fields.size(); ++i)
            text += (i ? "\t" : "") + EscapeSeparators(fields[i]);
        text += '\n';
    }
    return text;
}

Result<std::vector<KnownDevice>> ParseRecord(const std::string& text, int* skipped)
{
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kHeader || in.eof())
        return Status::Refused(std::errc::invalid_argument, "line 1: not \"" + std::string(kHeader) + "\"");
    int bad = 0;
    std::vector<KnownDevice> devices;
    while (std::getline(in, line)) {
        // A last line without its line break was cut short: a field may be half there.
        std::optional<KnownDevice> known = in.eof() ? std::nullopt : ParseLine(line);
        if (known)
            devices.push_back(std::move(*known));
        else
            ++bad;
    }
    if (skipped != nullptr)
        *skipped = bad;
    return devices;
}

void CDeviceRecord::Clear()
{
    m_devices.clear();
    m_index.clear();
}

void CDeviceRecord::Load()
{
    Clear();
    m_keepOut = false;
    m_problem = RecordProblem {};
    m_problem.path = m_path;
    if (m_path.empty())
        return;
    Result<std::string> text = ReadRecordFile(m_path);
    if (!text.Ok() && text.Failure().Errno() == ENOENT)
        return;
    int skipped = 0;
    Result<std::vector<KnownDevice>> parsed = text.Ok() ? ParseRecord(*text, &skipped)
                                                        : Result<std::vector<KnownDevice>>(text.Failure());
    if (parsed.Ok()) {
        // A device written twice by hand counts once, as its last line.
        for (KnownDevice& known : *parsed)
            Note(known.device, known.lastSeenNs);
        if (skipped > 0) {
            m_problem.kind = RecordProblem::LinesSkipped;
            m_problem.lines = skipped;
        }
        return;
    }
    m_problem.why = parsed.Failure().Message();
    struct stat info {};
    bool plainFile = lstat(m_path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    // A writer may be putting a good record in its place this moment: the
    // file is moved aside only under the lock, read once more.
    if (plainFile && !m_holdsLock) {
        CRecordLock lock;
        if (lock.Take(m_path).Ok()) {
            m_holdsLock = true;
            Load();
            m_holdsLock = false;
            return;
        }
    }
    // A directory or the like in its place was put there by someone: it stays.
    std::string aside = AsideName(m_path);
    if (plainFile && m_holdsLock && rename(m_path.c_str(), aside.c_str()) == 0) {
        m_problem.kind = RecordProblem::SetAside;
        m_problem.aside = aside;
    } else {
        m_problem.kind = RecordProblem::LeftInPlace;
        m_keepOut = true;
    }
}

void CDeviceRecord::Note(const HeardDevice& device, int64_t nowNs)
{
    // A scan may hear thousands of devices: each is found by its key at once.
    auto [place, added] = m_index.try_emplace(RecordKey(device.reply), m_devices.size());
    if (added)
        m_devices.push_back({ device, nowNs });
    else
        m_devices[place->second] = { device, nowNs };
}

bool CDeviceRecord::Forget(const std::string& key)
{
    auto found = m_index.find(key);
    if (found == m_index.end())
        return false;
    m_devices.erase(m_devices.begin() + static_cast<std::ptrdiff_t>(found->second));
    m_index.clear();
    for (size_t i = 0; i < m_devices.size(); ++i)
        m_index[RecordKey(m_devices[i].device.reply)] = i;
    return true;
}

Status CDeviceRecord::Save() const
{
    if (m_path.empty())
        return Status::Refused(std::errc::no_such_file_or_directory, "There is no home directory to keep devices in");
    if (m_keepOut)
        return Status::Refused(std::errc::file_exists, "The broken record " + m_path + " is left as it is");
    if (Status made = MakeDirectories(m_path.substr(0, m_path.rfind('/'))); !made.Ok())
        return made;
    return WriteWhole(m_path, RecordText(m_devices));
}

std::vector<KnownDevice> CDeviceRecord::Newest() const
{
    std::vector<KnownDevice> devices = m_devices;
    std::stable_sort(devices.begin(), devices.end(),
        [](const KnownDevice& a, const KnownDevice& b) { return a.lastSeenNs > b.lastSeenNs; });
    return devices;
}

Status UpdateRecord(const std::string& path, const std::function<void(CDeviceRecord&)>& change,
    RecordProblem& problem)
{
    problem = RecordProblem {};
    problem.path = path;
    if (path.empty())
        return Status::Refused(std::errc::no_such_file_or_directory, "There is no home directory to keep devices in");
    if (Status made = MakeDirectories(path.substr(0, path.rfind('/'))); !made.Ok())
        return made;
    CRecordLock lock;
    if (Status locked = lock.Take(path); !locked.Ok())
        return locked;
    CDeviceRecord record(path);
    record.m_holdsLock = true;
    record.Load();
    problem = record.Problem();
    change(record);
    return record.Save();
}

Status RecordHeard(const std::vector<HeardDevice>& heard, RecordProblem& problem, const std::string& path)
{
    problem = {};
    if (heard.empty() || RecordingOff())
        return {};
    int64_t now = RealtimeNs();
    return UpdateRecord(path, [&](CDeviceRecord& record) {
        for (const HeardDevice& device : heard)
            record.Note(device, now);
    }, problem);
}
