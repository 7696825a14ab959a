// Prints what playing a song costs: CPU seconds per minute of audio for the device (with a loop
// that polls it as the main loop does) and for `mpg123 -o pulse`, their ratio, how far the
// device's position strays from the clock, and how long opening a ten-minute song takes.
// Needs lame, mpg123 and a PulseAudio server (a null sink will do).
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "platform/mci.h"
#if KLINGTAL_BENCH_MIXER
#include "volume/mixer.h"
#endif

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6;
}

double CpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string Send(const std::string& command, std::uint32_t* error = nullptr) {
    char reply[256] = "";
    const std::uint32_t result = mci::mciSendString(command.c_str(), reply, sizeof reply);
    if (error != nullptr) *error = result;
    return reply;
}

// A stereo WAV of seconds length (a gliding tone), encoded by lame at 128 kbit/s.
bool MakeSong(const std::string& path, int seconds, const char* extra) {
    const std::string wav = path + ".wav";
    const int rate = 44100;
    const std::uint32_t bytes = static_cast<std::uint32_t>(seconds) * rate * 4;
    std::ofstream out(wav, std::ios::binary);
    auto put = [&out](std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) out.put(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    out.write("RIFF", 4);
    put(36 + bytes, 4);
    out.write("WAVEfmt ", 8);
    put(16, 4), put(1, 2), put(2, 2), put(rate, 4), put(rate * 4, 4), put(4, 2), put(16, 2);
    out.write("data", 4);
    put(bytes, 4);
    double phase = 0;
    for (int i = 0; i < seconds * rate; ++i) {
        phase += 2 * M_PI * (300 + 200 * std::sin(i / 44100.0)) / rate;
        const auto v =
            static_cast<std::uint16_t>(static_cast<std::int16_t>(9000 * std::sin(phase)));
        put(v, 2), put(v, 2);
    }
    out.close();
    const std::string command =
        std::string("lame --quiet -b 128 ") + extra + " '" + wav + "' '" + path + "'";
    const bool made = std::system(command.c_str()) == 0;
    std::filesystem::remove(wav);
    return made;
}

struct DeviceRun {
    double cpu = 0;         // seconds
    double audio = 0;       // seconds of audio played
    double startUp = 0;     // ms until the position first moved
    double worstDrift = 0;  // ms, largest |position advance - clock advance| after that
    long passes = 0;
};

// The main loop's wait between passes while nothing happens (milliseconds).
constexpr int kPassMs = 100;

DeviceRun PlayWithDevice(const std::string& path) {
    DeviceRun run;
    const double cpuBefore = CpuSeconds(RUSAGE_SELF);
    Send("open \"" + path + "\" alias MP3Stueck");
    Send("set MP3Stueck time format ms");
    Send("seek MP3Stueck to end wait");
    const long length = std::atol(Send("status MP3Stueck position wait").c_str());
    Send("seek MP3Stueck to start");
    Send("play MP3Stueck from 1 notify");
    const auto start = Clock::now();
    Clock::time_point movedAt;
    long movedFrom = -1;
    while (true) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kPassMs));
#if KLINGTAL_BENCH_MIXER
        GetVolume();
#endif
        const long position = std::atol(Send("status MP3Stueck position").c_str());
        ++run.passes;
        // Measured from 700 ms in: an idle null sink wakes up late, and the position, which
        // counts what is queued for the output, leaps ahead by the queue when it starts.
        if (movedFrom < 0 && position >= 700) {
            movedFrom = position;
            movedAt = Clock::now();
            run.startUp = MsSince(start);
        } else if (movedFrom >= 0 && position < length) {
            const double drift = std::abs((position - movedFrom) - MsSince(movedAt));
            run.worstDrift = std::max(run.worstDrift, drift);
        }
        if (position >= length || MsSince(start) > length + 10000) break;
    }
    Send("close MP3Stueck");
    run.cpu = CpuSeconds(RUSAGE_SELF) - cpuBefore;
    run.audio = length / 1000.0;
    return run;
}

// The loop alone, without a song: what its wake-ups cost, per minute (10 s measured).
double LoopAlonePerMinute() {
    const double before = CpuSeconds(RUSAGE_SELF);
    for (int i = 0; i < 10000 / kPassMs; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kPassMs));
#if KLINGTAL_BENCH_MIXER
        GetVolume();
#endif
    }
    return (CpuSeconds(RUSAGE_SELF) - before) * 60 / 10;
}

double PlayWithMpg123(const std::string& path, double& wall) {
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execlp("mpg123", "mpg123", "-q", "-o", "pulse", path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    wall = MsSince(start) / 1000;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

double TenMinuteOpen(const std::string& folder) {
    const std::string piece = folder + "/piece.mp3", whole = folder + "/ten minutes.mp3";
    if (!MakeSong(piece, 10, "-t")) return -1;
    {
        std::ifstream in(piece, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        std::ofstream out(whole, std::ios::binary);
        for (int i = 0; i < 60; ++i) out << bytes;
    }
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        const auto start = Clock::now();
        Send("open \"" + whole + "\" alias Lang");
        Send("set Lang time format ms");
        Send("seek Lang to end wait");
        Send("status Lang position wait");
        Send("seek Lang to start");
        Send("play Lang from 1 notify");
        const double took = MsSince(start);
        Send("close Lang");
        best = std::min(best, took);
        std::printf("  open of a ten-minute song, run %d: %.1f ms\n", i + 1, took);
    }
    return best;
}

}  // namespace

int main() {
    setenv("SDL_AUDIODRIVER", "pulseaudio", 0);
    char pattern[] = "/tmp/bench_playback_XXXXXX";
    if (mkdtemp(pattern) == nullptr) return 1;
    const std::string folder = pattern;
    const std::string song = folder + "/sixty seconds.mp3";
    if (!MakeSong(song, 60, "")) {
        std::fprintf(stderr, "bench_playback: lame could not make the song\n");
        return 1;
    }
#if !KLINGTAL_BENCH_MIXER
    std::printf("(mixer backend not built: the loop polls the position only)\n");
#endif
    const double loopAlone = LoopAlonePerMinute();
    const DeviceRun device = PlayWithDevice(song);
    double mpgWall = 0;
    const double mpgCpu = PlayWithMpg123(song, mpgWall);
    const double minutes = device.audio / 60;
    std::printf("device:  %.3f CPU s per minute of audio (%.3f s for %.1f s, %ld loop passes)\n",
                device.cpu / minutes, device.cpu, device.audio, device.passes);
    if (mpgCpu >= 0) {
        std::printf("mpg123:  %.3f CPU s per minute of audio (%.3f s, %.1f s wall)\n",
                    mpgCpu / minutes, mpgCpu, mpgWall);
        std::printf("ratio:   %.2f\n", device.cpu / mpgCpu);
        std::printf(
            "loop alone (sleeps and polls, no song): %.3f CPU s per minute; device without "
            "it: %.3f, ratio %.2f\n",
            loopAlone, device.cpu / minutes - loopAlone,
            (device.cpu / minutes - loopAlone) / (mpgCpu / minutes));
    } else {
        std::printf("mpg123:  did not run\n");
    }
    std::printf("position: %.0f ms until it passed 700 ms, then at most %.1f ms from the clock\n",
                device.startUp, device.worstDrift);
    std::printf("ten-minute open: best %.1f ms\n", TenMinuteOpen(folder));
    std::filesystem::remove_all(folder);
    return 0;
}
