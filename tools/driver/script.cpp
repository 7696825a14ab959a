// The driver's commands and how they reach the program.
#include "tools/driver/script.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <istream>
#include <ostream>
#include <sstream>
#include <thread>

#include "app/lifecycle.h"
#include "app/main_loop.h"
#include "platform/common/dropped_text.h"
#include "platform/gui.h"
#include "platform/headless/headless.h"
#include "tools/driver/media_commands.h"

namespace headless = gui::headless;

namespace {

// What follows the command word, spaces before it left out: a path may hold spaces.
std::string Rest(const std::string& line, const std::string& command) {
    std::string rest = line.substr(line.find(command) + command.size());
    rest.erase(0, rest.find_first_not_of(' '));
    return rest;
}

// A file manager's dropped text, with its line breaks written as \r and \n.
std::string LineBreaksUnescaped(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '\\' && (next == 'n' || next == 'r')) {
            out += next == 'n' ? '\n' : '\r';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

ScriptRunner::ScriptRunner(AppState& app, const std::vector<std::string>& sent, std::istream& in,
                           std::ostream& out, bool windowOpened)
    : app_(app), sent_(sent), in_(in), out_(out), windowOpened_(windowOpened) {
    headless::SetWaitHook([this] {
        ++modalDepth_;
        const bool more = NextAction();
        --modalDepth_;
        return more;
    });
}

void ScriptRunner::Run() {
    while (!shutDown_ && NextAction()) SettleEvents();
}

bool ScriptRunner::NextAction() {
    std::string line;
    while (std::getline(in_, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (Execute(line)) return true;
    }
    return false;
}

void ScriptRunner::SettleEvents(int waitLimit) {
    if (!windowOpened_) return;
    // One event per pass, as the program takes them; a pass with none also runs the displays,
    // after waiting as the program would, but never past the script's own time.
    do {
        headless::SetWaitLimit(waitLimit);
        if (!LoopPass(app_)) {
            Shutdown(app_, windowOpened_);
            shutDown_ = true;
            return;
        }
    } while (headless::PendingEvents() > 0);
}

void ScriptRunner::RunFor(int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        if (!windowOpened_ || shutDown_) {
            std::this_thread::sleep_until(end);
            return;
        }
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (modalDepth_ > 0) {
            // Under a modal window the main loop takes no events but its own work goes on.
            headless::SetWaitLimit(static_cast<int>(std::max<std::int64_t>(left.count(), 0)));
            gui::WaitForEvent(gui::RunModalPass());
            continue;
        }
        SettleEvents(static_cast<int>(std::max<std::int64_t>(left.count(), 0)));
        if (shutDown_) return;
    }
}

bool ScriptRunner::Execute(const std::string& line) {
    std::istringstream words(line);
    std::string command;
    if (!(words >> command)) return false;
    const int window = gui::CurrentWindow();
    int a = 0, b = 0;
    if (command == "click" && words >> a) return headless::Click(a), true;
    if (command == "select" && words >> a >> b) return headless::SelectItem(a, b), true;
    if (command == "slide" && words >> a >> b) return headless::Slide(a, b), true;
    if (command == "mouse") {
        std::string what;
        words >> what >> a >> b;
        if (what == "down") return headless::MouseDown(window, a, b), true;
        if (what == "move") return headless::MouseMove(window, a, b), true;
        if (what == "up") return headless::MouseUp(window, a, b), true;
    }
    if (command == "media") {
        std::string request;
        if (!(words >> request)) {
            out_ << MediaDump();
            out_.flush();
            return false;
        }
        return InjectMediaRequest(request, words), true;
    }
    if (command == "minimise") return headless::Minimise(window), true;
    if (command == "restore") return headless::Restore(window), true;
    if (command == "close") return headless::Close(window), true;
    if (command == "drop") {
        return headless::Drop(window, FirstDroppedPath(LineBreaksUnescaped(Rest(line, "drop")))),
               true;
    }
    if (command == "answer") {
        Answer(Rest(line, "answer"));
        return false;
    }
    if (command == "wait" && words >> a) {
        RunFor(a);
        return false;
    }
    if (command == "dump") out_ << headless::DumpGadgets(window);
    if (command == "window") out_ << headless::DumpWindow(window);
    if (command == "messages") out_ << headless::DumpMessages();
    if (command == "mci") {
        for (const std::string& command : sent_) out_ << command << '\n';
    }
    out_.flush();
    return false;
}

void ScriptRunner::Answer(const std::string& text) {
    if (text == "cancel") {
        headless::AnswerCancel();
    } else if (text.rfind("folder ", 0) == 0) {
        headless::AnswerFolder(text.substr(7));
    }
}
