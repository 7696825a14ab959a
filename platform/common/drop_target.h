// What every gui backend keeps for SetDropTarget and TakeDroppedPath (platform/gui.h).
#pragma once

#include <string>
#include <utility>

struct DropTarget {
    int window = -1;
    int gadget = -1;
    std::string path;  // of the last drop taken, until its click's handler takes it

    std::string TakePath() { return std::exchange(path, std::string()); }
};
