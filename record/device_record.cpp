#include "device_record.h"

#include "cli_net.h"
#include "magic_packet.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

constexpr const char* kHeader = "orbisk-devices 1";
constexpr int kFields = 10;

std::string Escape(std::string_view text)
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

std::optional<std::string> Unescape(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size())
            return std::nullopt;
        switch (text[i]) {
        case '\\': out += '\\'; break;
        case 't': out += '\t'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        default: return std::nullopt;
        }
    }
    return out;
}

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

template <class T>
std::optional<T> Number(std::string_view text)
{
    T value {};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

Status Broken(size_t line, const std::string& why)
{
    return Status::Refused(std::errc::invalid_argument, "line " + std::to_string(line) + ": " + why);
}

Result<KnownDevice> ParseLine(const std::string& line, size_t number)
{
    std::vector<std::string> fields;
    size_t start = 0;
    while (true) {
        size_t tab = line.find('\t', start);
        std::optional<std::string> field = Unescape(std::string_view(line).substr(start, tab - start));
        if (!field)
            return Broken(number, "a backslash that escapes nothing known");
        fields.push_back(std::move(*field));
        if (tab == std::string::npos)
            break;
        start = tab + 1;
    }
    if (fields.size() != kFields)
        return Broken(number, std::to_string(fields.size()) + " fields, not " + std::to_string(kFields));
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
    std::optional<unsigned> ifindex = Number<unsigned>(fields[8]);
    std::optional<int64_t> seen = Number<int64_t>(fields[9]);
    if (!mode || !ifindex || !seen)
        return Broken(number, "a mode, port index or time that is not one");
    r.mode = *mode;
    r.ifindex = *ifindex;
    known.lastSeenNs = *seen * 1000000000;
    return known;
}

// Fsync, then rename over the target: the file is whole or not there.
Status WriteWhole(const std::string& path, const std::string& text)
{
    std::string temp = path + ".XXXXXX";
    int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return Status::FromErrno(errno, "Could not write " + path);
    size_t done = 0;
    int error = 0;
    while (done < text.size() && error == 0) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno != EINTR)
            error = errno;
        else if (n > 0)
            done += static_cast<size_t>(n);
    }
    if (error == 0 && fsync(fd) != 0)
        error = errno;
    if (close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && rename(temp.c_str(), path.c_str()) != 0)
        error = errno;
    if (error != 0) {
        unlink(temp.c_str());
        return Status::FromErrno(error, "Could not write " + path);
    }
    return {};
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
    std::string stamp = TimestampText(time(nullptr) * int64_t { 1000000000 });
    stamp.erase(std::remove(stamp.begin(), stamp.end(), ':'), stamp.end());
    std::string base = path + ".corrupt-" + stamp;
    std::string name = base;
    for (int n = 1; access(name.c_str(), F_OK) == 0; ++n)
        name = base + "." + std::to_string(n);
    return name;
}

} // namespace

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

std::string DeviceKey(const DeviceReply& reply)
{
    if (std::optional<MacAddress> mac = ParseMac(reply.mac))
        return MacText(*mac);
    return "address " + reply.sender;
}

std::string RecordText(const std::vector<KnownDevice>& devices)
{
    std::string text = std::string(kHeader) + "\n";
    for (const KnownDevice& known : devices) {
        const DeviceReply& r = known.device.reply;
        const std::string fields[kFields] = { r.mac, r.sender, r.hostname, r.version, r.netmask, r.gateway,
            ModeText(r.mode), known.device.interfaceName, std::to_string(r.ifindex),
            std::to_string(known.lastSeenNs / 1000000000) };
        for (int i = 0; i < kFields; ++i)
            text += (i ? "\t" : "") + Escape(fields[i]);
        text += '\n';
    }
    return text;
}

Result<std::vector<KnownDevice>> ParseRecord(const std::string& text)
{
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kHeader)
        return Broken(1, "not \"" + std::string(kHeader) + "\"");
    if (text.back() != '\n')
        return Broken(1, "the file ends within a line");
    std::vector<KnownDevice> devices;
    for (size_t number = 2; std::getline(in, line); ++number) {
        Result<KnownDevice> known = ParseLine(line, number);
        if (!known.Ok())
            return known.Failure();
        devices.push_back(std::move(*known));
    }
    return devices;
}

void CDeviceRecord::Clear()
{
    m_devices.clear();
    m_index.clear();
}

void CDeviceRecord::Load(std::ostream& err)
{
    Clear();
    m_keepOut = false;
    if (m_path.empty())
        return;
    std::ifstream file(m_path, std::ios::binary);
    int error = errno;
    if (!file && error == ENOENT)
        return;
    Status problem;
    if (!file) {
        problem = Status::FromErrno(error, "cannot be read");
    } else {
        std::ostringstream text;
        text << file.rdbuf();
        Result<std::vector<KnownDevice>> parsed = ParseRecord(text.str());
        if (parsed.Ok()) {
            // A device written twice by hand counts once, as its last line.
            for (KnownDevice& known : *parsed)
                Note(known.device, known.lastSeenNs);
            return;
        }
        problem = parsed.Failure();
    }
    std::string aside = AsideName(m_path);
    err << "orbisk-cli: warning: the record of remembered devices " << m_path << " is broken ("
        << problem.Message() << ")";
    if (rename(m_path.c_str(), aside.c_str()) == 0) {
        err << "; it is kept as " << aside << " and a new one is started\n";
    } else {
        err << "; it could not be moved aside (" << Status::FromErrno(errno, "rename").Message()
            << "), so nothing is recorded\n";
        m_keepOut = true;
    }
}

void CDeviceRecord::Note(const CliDevice& device, int64_t nowNs)
{
    // A scan may hear thousands of devices: each is found by its key at once.
    KnownDevice known { device, nowNs };
    known.device.number = 0;
    known.device.lastSeen.clear();
    auto [place, added] = m_index.try_emplace(DeviceKey(device.reply), m_devices.size());
    if (added)
        m_devices.push_back(std::move(known));
    else
        m_devices[place->second] = std::move(known);
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
    for (size_t i = 0; i < devices.size(); ++i) {
        devices[i].device.number = static_cast<int>(i);
        devices[i].device.lastSeen = TimestampText(devices[i].lastSeenNs);
    }
    return devices;
}

void Remember(const std::vector<CliDevice>& heard, std::ostream& err)
{
    if (heard.empty() || RecordingOff())
        return;
    CDeviceRecord record;
    record.Load(err);
    int64_t now = RealtimeNs();
    for (const CliDevice& device : heard)
        record.Note(device, now);
    if (Status saved = record.Save(); !saved.Ok())
        err << "orbisk-cli: warning: the devices heard are not remembered: " << saved.Message() << '\n';
}
