// The program: start up, run the main loop until the window is closed, save and end.
#include "app/lifecycle.h"
#include "app/main_loop.h"

int main() {
    // Large (four arrays of 10000 entries): keep it off the stack.
    static AppState app;
    const bool opened = StartUp(app, {});
    if (opened) RunMainLoop(app);
    Shutdown(app, opened);
    return 0;
}
