// The driver's script: one command per line, each a user's action on the headless gui or a
// question about what the program shows. Actions are handled by the program's own main loop.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "app/app_state.h"

class ScriptRunner {
  public:
    // sent: every command string the program has sent to the device so far.
    ScriptRunner(AppState& app, const std::vector<std::string>& sent, std::istream& in,
                 std::ostream& out, bool windowOpened);
    // Runs the whole script; returns at its end or when the program has shut down.
    void Run();
    // True when the script closed the window and the shutdown sequence has already run.
    bool ShutDown() const { return shutDown_; }

  private:
    // Executes lines until one injects an action; false at the end of the script. Also the
    // headless WaitEvent hook, so a modal window's own loop takes the script's actions.
    bool NextAction();
    bool Execute(const std::string& line);  // true when the line was an action
    void Answer(const std::string& line);
    // Main loop passes until every injected event is handled; a pass without one waits up to
    // waitLimit milliseconds.
    void SettleEvents(int waitLimit = 0);
    void RunFor(int milliseconds);

    AppState& app_;
    const std::vector<std::string>& sent_;
    std::istream& in_;
    std::ostream& out_;
    bool windowOpened_;
    bool shutDown_ = false;
    int modalDepth_ = 0;  // > 0 while a modal window's loop runs
};
