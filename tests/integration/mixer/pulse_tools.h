// Test helpers around PulseAudio: pactl, private servers, and the mixer probe process.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// The output of a shell command line (tests only).
std::string Run(const std::string& command);

// "PULSE_SERVER=... " for a private server's socket, "" for the default server.
struct PulseTarget {
    std::string environment;

    std::string Pactl(const std::string& arguments) const;
    bool Answers() const;
    // The raw volume of each channel of the default sink; empty when there is none.
    std::vector<unsigned> SinkVolumes() const;
    int SinkMute() const;  // 1, 0, or -1 when unknown
    // Puts back what SinkVolumes and SinkMute reported.
    void Restore(const std::vector<unsigned>& volumes, int mute) const;
};

// True when a test may use the default server (scripts/test started one, or one answers).
bool DefaultPulseAvailable();

// Polls until check() holds or the time is up; returns the last result.
bool WaitFor(const std::function<bool()>& check,
             std::chrono::milliseconds limit = std::chrono::milliseconds(2000));

// A PulseAudio server of a test's own, with a null sink, on a socket in a fresh folder.
class PrivateServer {
  public:
    PrivateServer();
    ~PrivateServer();
    PrivateServer(const PrivateServer&) = delete;
    PrivateServer& operator=(const PrivateServer&) = delete;

    bool Start();  // false when no server could be started
    void Stop();   // SIGKILL: the server vanishes without a goodbye
    void Freeze(bool frozen);
    PulseTarget Target() const { return {"PULSE_SERVER=unix:" + folder_ + "/sock "}; }
    std::string Socket() const { return folder_ + "/sock"; }

  private:
    std::string folder_;
    pid_t pid_ = -1;
};

// The mixer probe, run with extra environment settings; its lines are collected as they come.
class Probe {
  public:
    Probe(const std::string& environment, double seconds);
    ~Probe();
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

    std::vector<std::string> Lines();
    // The last "volume mute" reported, or "" before the first.
    std::string Latest();
    void Finish();  // waits for the probe to end

  private:
    FILE* pipe_ = nullptr;
    std::thread reader_;
    std::mutex mutex_;
    std::vector<std::string> lines_;
};
