// Test helpers around PulseAudio: pactl, private servers, and the mixer probe process.
#include "pulse_tools.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>

#include "support/sound_server.h"

extern char** environ;

std::string Run(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    pclose(pipe);
    return output;
}

std::string PulseTarget::Pactl(const std::string& arguments) const {
    return Run(environment + "pactl " + arguments + " 2>/dev/null");
}

bool PulseTarget::Answers() const {
    return Run(environment + "pactl info >/dev/null 2>&1 && echo yes") == "yes\n";
}

std::vector<unsigned> PulseTarget::SinkVolumes() const {
    const std::string text = Pactl("get-sink-volume @DEFAULT_SINK@");
    const std::regex channel(R"(: (\d+) /)");
    std::vector<unsigned> volumes;
    const std::string firstLine = text.substr(0, text.find('\n'));
    for (std::sregex_iterator it(firstLine.begin(), firstLine.end(), channel), end; it != end;
         ++it) {
        volumes.push_back(static_cast<unsigned>(std::stoul((*it)[1])));
    }
    return volumes;
}

int PulseTarget::SinkMute() const {
    const std::string text = Pactl("get-sink-mute @DEFAULT_SINK@");
    if (text.find("Mute: yes") != std::string::npos) return 1;
    if (text.find("Mute: no") != std::string::npos) return 0;
    return -1;
}

void PulseTarget::Restore(const std::vector<unsigned>& volumes, int mute) const {
    std::string arguments = "set-sink-volume @DEFAULT_SINK@";
    for (unsigned volume : volumes) arguments.append(" ").append(std::to_string(volume));
    if (!volumes.empty()) Pactl(arguments);
    if (mute >= 0) Pactl(std::string("set-sink-mute @DEFAULT_SINK@ ") + (mute ? "1" : "0"));
}

bool DefaultPulseAvailable() {
    return std::getenv("KLINGTAL_PULSE_AVAILABLE") != nullptr || PulseTarget{}.Answers();
}

bool WaitFor(const std::function<bool()>& check, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!check()) {
        if (std::chrono::steady_clock::now() >= end) return check();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

PrivateServer::PrivateServer() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "klingtal-pulse-XXXXXX").string();
    if (mkdtemp(pattern.data())) folder_ = pattern;
}

PrivateServer::~PrivateServer() {
    Stop();
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

bool PrivateServer::Start() {
    if (folder_.empty() || pid_ > 0) return false;
    std::vector<std::string> environment = {"HOME=" + folder_, "XDG_RUNTIME_DIR=" + folder_,
                                            "XDG_CONFIG_HOME=" + folder_};
    for (char** variable = environ; *variable; ++variable) {
        const std::string text = *variable;
        if (!text.starts_with("HOME=") && !text.starts_with("XDG_") &&
            !text.starts_with("PULSE_")) {
            environment.push_back(text);
        }
    }
    std::vector<std::string> arguments = testing_support::SoundServerCommand(
        Socket(), "null",
        {"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
         "--disable-shm=yes", "--load=module-null-sink",
         "--load=module-native-protocol-unix auth-anonymous=1 socket=" + Socket()});
    std::vector<char*> argv;
    for (auto& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (auto& variable : environment) envp.push_back(variable.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string log = folder_ + "/log";
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawnattr_t attributes;  // a process group of its own: signals reach all of it
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    const int failed =
        posix_spawnp(&pid_, argv[0], &actions, &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        pid_ = -1;
        return false;
    }
    return WaitFor(
        [this] {
            return std::system(testing_support::SoundServerReady(Socket(), "null").c_str()) == 0;
        },
        std::chrono::milliseconds(10000));
}

void PrivateServer::Stop() {
    if (pid_ <= 0) return;
    kill(-pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
}

void PrivateServer::Freeze(bool frozen) {
    if (pid_ > 0) kill(-pid_, frozen ? SIGSTOP : SIGCONT);
}

Probe::Probe(const std::string& environment, double seconds) {
    pipe_ = popen((environment + "exec " MIXER_PROBE " " + std::to_string(seconds)).c_str(), "r");
    if (!pipe_) return;
    reader_ = std::thread([this] {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe_)) {
            std::string line(buffer);
            if (!line.empty() && line.back() == '\n') line.pop_back();
            std::lock_guard lock(mutex_);
            lines_.push_back(line);
        }
    });
}

Probe::~Probe() {
    Finish();
}

void Probe::Finish() {
    if (reader_.joinable()) reader_.join();
    if (pipe_) pclose(pipe_);
    pipe_ = nullptr;
}

std::vector<std::string> Probe::Lines() {
    std::lock_guard lock(mutex_);
    return lines_;
}

std::string Probe::Latest() {
    std::lock_guard lock(mutex_);
    for (auto it = lines_.rbegin(); it != lines_.rend(); ++it) {
        if (it->starts_with("slowest_us")) continue;
        return it->substr(it->find(' ') + 1);
    }
    return "";
}
