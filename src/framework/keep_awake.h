// Keeps the display and the system from sleeping for as long as the object lives: a
// presentation shown full-screen must not go dark while the speaker talks over one slide.
// Whatever ends the owner (leaving full-screen, closing the window) gives the request back.
#pragma once
#include <windows.h>

namespace fw {

class KeepAwake {
public:
    KeepAwake() { ::SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED); }
    ~KeepAwake() { ::SetThreadExecutionState(ES_CONTINUOUS); }
    KeepAwake(const KeepAwake&) = delete;
    KeepAwake& operator=(const KeepAwake&) = delete;
};

}  // namespace fw
