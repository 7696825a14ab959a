// Hearing what the device plays: a private PulseAudio server (or the PipeWire one a test run
// names in KLINGTAL_SOUND_SERVER) with a null sink, started, killed and started again by the
// test, never the shared one; a recorder on that sink's monitor; which of two tones sounds in
// each 10 ms of a recording.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace mci_test {

// True when the server (see PrivatePulse) and parec can be run here.
bool PulseToolsInstalled();
// What `pactl list sink-inputs` tells of the server's playback streams.
std::string SinkInputs(const std::string& server);

class PrivatePulse {
  public:
    PrivatePulse();  // a runtime folder of its own; no server yet
    ~PrivatePulse();
    PrivatePulse(const PrivatePulse&) = delete;
    PrivatePulse& operator=(const PrivatePulse&) = delete;

    bool Start();  // true once the server answers on its socket
    void Kill();   // SIGKILL, as a crash would end it
    std::string Address() const { return "unix:" + dir_ + "/native"; }

  private:
    std::string dir_;
    pid_t pid_ = -1;
};

// parec on the private server's sink monitor: mono, kRate samples per second.
class Recorder {
  public:
    static constexpr int kRate = 16000;
    explicit Recorder(const std::string& server);
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    std::size_t Count();  // samples recorded so far: a mark on the recording's time line
    std::vector<std::int16_t> Samples();

  private:
    void Read(int fd);
    pid_t pid_ = -1;
    std::thread reader_;
    std::mutex mutex_;
    std::vector<std::int16_t> samples_;
};

enum class Tone { None, Low, High };
constexpr double kLowHz = 440, kHighHz = 880;

// The tone of every 10 ms of the recording (from sample from on): the louder of the two when
// it reaches a tenth of full level, else None.
std::vector<Tone> TonesPer10Ms(const std::vector<std::int16_t>& samples, std::size_t from = 0);

}  // namespace mci_test
