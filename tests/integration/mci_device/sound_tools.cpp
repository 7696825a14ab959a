// A private PulseAudio server, a recorder on its sink and a Goertzel filter per 10 ms.
#include "sound_tools.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "support/sound_server.h"

namespace mci_test {
namespace {

bool Runs(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs argv with its output to out (or /dev/null); the child's pid.
// The arguments are prepared before the fork: the child of a process with threads may only
// make system calls.
pid_t Spawn(const std::vector<std::string>& argv, int out = -1) {
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    const pid_t pid = fork();
    if (pid != 0) return pid;
    setpgid(0, 0);  // signals go to the whole group: a server may be several processes
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(out >= 0 ? out : null, 1);
    dup2(null, 2);
    execvp(args[0], args.data());
    _exit(127);
}

void KillAndWait(pid_t& pid, int signal) {
    if (pid <= 0) return;
    kill(-pid, signal);
    waitpid(pid, nullptr, 0);
    pid = -1;
}

// Amplitude of the frequency hz in samples [at, at + n), full level 32767.
double Goertzel(const std::vector<std::int16_t>& samples, std::size_t at, std::size_t n,
                double hz) {
    const double w = 2 * M_PI * hz / Recorder::kRate;
    const double coefficient = 2 * std::cos(w);
    double s1 = 0, s2 = 0;
    for (std::size_t i = at; i < at + n; ++i) {
        const double s0 = samples[i] + coefficient * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
    return 2 * std::sqrt(std::max(power, 0.0)) / static_cast<double>(n);
}

}  // namespace

bool PulseToolsInstalled() {
    // Another server (KLINGTAL_SOUND_SERVER) serves the protocol in pulseaudio's place.
    const char* other = std::getenv("KLINGTAL_SOUND_SERVER");
    const bool server = (other != nullptr && *other != '\0') || Runs("command -v pulseaudio");
    return server && Runs("command -v parec") && Runs("command -v pactl");
}

std::string SinkInputs(const std::string& server) {
    std::string text;
    FILE* pactl = popen(("pactl -s " + server + " list sink-inputs 2>/dev/null").c_str(), "r");
    if (pactl == nullptr) return text;
    char buffer[4096];
    for (std::size_t got = 0; (got = fread(buffer, 1, sizeof buffer, pactl)) > 0;) {
        text.append(buffer, got);
    }
    pclose(pactl);
    return text;
}

PrivatePulse::PrivatePulse() {
    char pattern[] = "/tmp/klingtal-pulse-XXXXXX";
    dir_ = mkdtemp(pattern);
}

PrivatePulse::~PrivatePulse() {
    KillAndWait(pid_, SIGTERM);
    // The server's other processes may still be removing their own files meanwhile.
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

bool PrivatePulse::Start() {
    // Its own runtime and state folders, so it neither finds nor disturbs the shared server.
    setenv("PULSE_RUNTIME_PATH", dir_.c_str(), 1);
    setenv("PULSE_STATE_PATH", dir_.c_str(), 1);
    std::filesystem::remove(dir_ + "/native");
    const std::string socket = dir_ + "/native";
    pid_ = Spawn(testing_support::SoundServerCommand(
        socket, "klingtal",
        {"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
         "--disable-shm=yes", "-F", "/dev/null",
         "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket,
         "--load=module-null-sink sink_name=klingtal"}));
    for (int i = 0; i < 200; ++i) {
        if (Runs(testing_support::SoundServerReady(socket, "klingtal"))) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

void PrivatePulse::Kill() {
    KillAndWait(pid_, SIGKILL);
}

Recorder::Recorder(const std::string& server) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return;
    pid_ = Spawn({"parec", "-s", server, "-d", "klingtal.monitor", "--raw", "--format=s16le",
                  "--rate=" + std::to_string(kRate), "--channels=1", "--latency-msec=10"},
                 pipeEnds[1]);
    close(pipeEnds[1]);
    reader_ = std::thread([this, fd = pipeEnds[0]] { Read(fd); });
}

Recorder::~Recorder() {
    KillAndWait(pid_, SIGTERM);
    if (reader_.joinable()) reader_.join();
}

void Recorder::Read(int fd) {
    std::int16_t buffer[1024];
    ssize_t got = 0;
    while ((got = read(fd, buffer, sizeof buffer)) > 0) {
        std::lock_guard lock(mutex_);
        samples_.insert(samples_.end(), buffer, buffer + got / 2);
    }
    close(fd);
}

std::size_t Recorder::Count() {
    std::lock_guard lock(mutex_);
    return samples_.size();
}

std::vector<std::int16_t> Recorder::Samples() {
    std::lock_guard lock(mutex_);
    return samples_;
}

std::vector<Tone> TonesPer10Ms(const std::vector<std::int16_t>& samples, std::size_t from) {
    constexpr std::size_t kBlock = Recorder::kRate / 100;
    std::vector<Tone> tones;
    for (std::size_t at = from; at + kBlock <= samples.size(); at += kBlock) {
        const double low = Goertzel(samples, at, kBlock, kLowHz);
        const double high = Goertzel(samples, at, kBlock, kHighHz);
        const double loudest = std::max(low, high);
        tones.push_back(loudest < 3277 ? Tone::None : low > high ? Tone::Low : Tone::High);
    }
    return tones;
}

}  // namespace mci_test
