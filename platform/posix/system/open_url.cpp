// Opening a web address: xdg-open started directly (no shell, so the address is never
// interpreted), its exit collected by a waiting thread so no zombie stays behind.
#include <cerrno>
#include <csignal>
#include <string>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include "platform/system.h"

extern char** environ;

namespace sys {
namespace {

// Spawn attributes that give the child default signal handling, whatever the player set.
struct SpawnSetup {
    posix_spawnattr_t attributes{};
    posix_spawn_file_actions_t actions{};
    bool ready = false;

    SpawnSetup() {
        if (posix_spawnattr_init(&attributes) != 0) return;
        if (posix_spawn_file_actions_init(&actions) != 0) {
            posix_spawnattr_destroy(&attributes);
            return;
        }
        ready = true;
        sigset_t none;
        sigset_t defaults;
        sigemptyset(&none);
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGPIPE);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setsigdefault(&attributes, &defaults);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    }
    ~SpawnSetup() {
        if (!ready) return;
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
};

}  // namespace

void OpenUrl(std::string_view url) {
    // An embedded NUL would silently cut the address short; such an address is not opened.
    if (url.empty() || url.find('\0') != std::string_view::npos) return;
    std::string program = "xdg-open";
    std::string address(url);
    char* arguments[] = {program.data(), address.data(), nullptr};
    SpawnSetup setup;
    if (!setup.ready) return;
    pid_t child = 0;
    if (posix_spawnp(&child, program.c_str(), &setup.actions, &setup.attributes, arguments,
                     environ) != 0) {
        return;
    }
    try {
        std::thread([child] {
            int status = 0;
            while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
        int status = 0;
        waitpid(child, &status, WNOHANG);  // without a thread, only what has already ended
    }
}

}  // namespace sys
