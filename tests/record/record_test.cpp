// The record of remembered devices as both programs write it: several
// processes at once, and files that are not what they should be.

#include "device_identity.h"
#include "device_record.h"
#include "test_files.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

HeardDevice Heard(const std::string& mac, const std::string& address, const std::string& host = "nas")
{
    HeardDevice device;
    device.reply = { .sender = address, .gateway = "198.18.0.1", .hostname = host, .mac = mac, .version = "1.0",
        .netmask = "255.255.255.0", .mode = AddressMode::Dhcp, .ifindex = 3 };
    device.interfaceName = "eth1";
    return device;
}

// Waits for a child of this test, at most 10 s; false when it did not end
// (it is then killed: it is ours) or did not exit 0.
bool Reaped(pid_t pid)
{
    for (int waited = 0; waited < 10000; waited += 5) {
        int status = 0;
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return false;
}

TEST(DeviceRecord, WritersAtTheSameMomentLoseNoDevice)
{
    // Two command-line scans and the desktop, each recording the devices it
    // heard, released together by closing one pipe.
    CScratchDir dir;
    const std::string path = dir.Path("orbisk/devices");
    const int kRounds = 30, kWriters = 3, kEach = 2;
    int lost = 0;
    for (int round = 0; round < kRounds; ++round) {
        std::filesystem::remove(path);
        int gate[2];
        ASSERT_EQ(pipe(gate), 0);
        std::vector<pid_t> writers;
        for (int w = 0; w < kWriters; ++w) {
            pid_t pid = fork();
            ASSERT_GE(pid, 0);
            if (pid == 0) {
                close(gate[1]);
                char byte;
                (void)!read(gate[0], &byte, 1);
                std::vector<HeardDevice> heard;
                for (int d = 0; d < kEach; ++d) {
                    char mac[32];
                    snprintf(mac, sizeof mac, "02:00:00:%02x:%02x:%02x", round, w, d);
                    heard.push_back(Heard(mac, "198.18.1." + std::to_string(w * kEach + d)));
                }
                RecordProblem problem;
                _exit(RecordHeard(heard, problem, path).Ok() ? 0 : 1);
            }
            writers.push_back(pid);
        }
        close(gate[0]);
        close(gate[1]);
        for (pid_t pid : writers)
            EXPECT_TRUE(Reaped(pid));
        int skipped = 0;
        Result<std::vector<KnownDevice>> back = ParseRecord(ReadFile(path), &skipped);
        ASSERT_TRUE(back.Ok());
        EXPECT_EQ(skipped, 0);
        lost += kWriters * kEach - static_cast<int>(back->size());
    }
    EXPECT_EQ(lost, 0) << "of " << kRounds * kWriters * kEach;
    // No temporary file is left behind: only the record and its lock.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path("orbisk")))
        ++files;
    EXPECT_EQ(files, 2);
}

TEST(DeviceRecord, HostileRecordIsReadAsDataAndWhatCannotBeReadIsSaid)
{
    CScratchDir dir;
    const std::string path = dir.Path("orbisk/devices");
    const std::string awkward[] = { "tab\there", "line\nbreak\r", "quote\"'`$(x)", std::string(98, 'n'), "\\t" };
    RecordProblem problem;
    ASSERT_TRUE(UpdateRecord(path, [&](CDeviceRecord& record) {
        int i = 0;
        for (const std::string& host : awkward)
            record.Note(Heard("02:00:00:00:00:0" + std::to_string(i), "198.18.0." + std::to_string(20 + i), host),
                int64_t { 1000 + i } * 1000000000), ++i;
        // MACs of odd shape are kept as sent, keyed by address.
        record.Note(Heard("zz:zz", "198.18.0.40"), 0);
        record.Note(Heard("", "198.18.0.41"), 0);
    }, problem).Ok());
    CDeviceRecord record(path);
    record.Load();
    EXPECT_EQ(record.Problem().kind, RecordProblem::None);
    std::vector<KnownDevice> newest = record.Newest();
    ASSERT_EQ(newest.size(), 7u);
    for (size_t i = 0; i < std::size(awkward); ++i)
        EXPECT_EQ(newest[std::size(awkward) - 1 - i].device.reply.hostname, awkward[i]);
    EXPECT_EQ(newest[5].device.reply.mac, "zz:zz");

    // Ten thousand devices are read whole and fast enough for a window.
    ASSERT_TRUE(UpdateRecord(path, [](CDeviceRecord& many) {
        for (int i = 0; i < 10000; ++i) {
            char mac[32];
            snprintf(mac, sizeof mac, "02:00:01:00:%02x:%02x", i >> 8, i & 255);
            many.Note(Heard(mac, "198.18.2.1"), i);
        }
    }, problem).Ok());
    auto start = std::chrono::steady_clock::now();
    record.Load();
    EXPECT_EQ(record.Newest().size(), 10007u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

    // A directory in its place is left alone, said so, and not written over.
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    record.Load();
    EXPECT_EQ(record.Problem().kind, RecordProblem::LeftInPlace);
    EXPECT_NE(ProblemText(record.Problem()).find("is no plain file"), std::string::npos)
        << ProblemText(record.Problem());
    EXPECT_FALSE(RecordHeard({ Heard("02:00:00:00:00:01", "198.18.0.20") }, problem, path).Ok());
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST(DeviceRecord, ForgetRemovesOneDeviceAndNoStateRecordsNothing)
{
    CScratchDir dir;
    const std::string path = dir.Path("orbisk/devices");
    RecordProblem problem;
    ASSERT_TRUE(RecordHeard({ Heard("02:00:00:00:00:01", "198.18.0.20"), Heard("02:00:00:00:00:02", "198.18.0.21") },
        problem, path).Ok());
    bool forgotten = false;
    ASSERT_TRUE(UpdateRecord(path, [&](CDeviceRecord& record) {
        forgotten = record.Forget(RecordKey(Heard("02-00-00-00-00-01", "").reply));
    }, problem).Ok());
    EXPECT_TRUE(forgotten);
    CDeviceRecord record(path);
    record.Load();
    ASSERT_EQ(record.Newest().size(), 1u);
    EXPECT_EQ(record.Newest()[0].device.reply.mac, "02:00:00:00:00:02");

    setenv("ORBISK_NO_STATE", "1", 1);
    const std::string other = dir.Path("off/devices");
    EXPECT_TRUE(RecordHeard({ Heard("02:00:00:00:00:03", "198.18.0.22") }, problem, other).Ok());
    unsetenv("ORBISK_NO_STATE");
    EXPECT_FALSE(std::filesystem::exists(dir.Path("off")));
}

} // namespace
