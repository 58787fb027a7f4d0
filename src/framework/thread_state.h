// Scoped states of the calling thread: its membership in a COM apartment, and its request that
// the display and the system stay awake. Each is entered on construction and left on
// destruction, on the same thread.
#pragma once
#include <windows.h>
#include <objbase.h>

namespace fw {

// The two apartment models. A single-threaded apartment owns a hidden window and must handle
// messages: the user-interface thread's. A thread that handles none (a decoder's) belongs in the
// multi-threaded one, or anyone who sends that hidden window a message (a search of the
// top-level windows asking each for its title) waits for ever.
enum class ComModel { SingleThreaded, MultiThreaded };

// Membership in a COM apartment. A thread that runs COM already (OLE, or the other apartment
// model) is used as it is: then nothing is left at the end but the count the entry added.
class ComApartment {
public:
    explicit ComApartment(ComModel model = ComModel::SingleThreaded)
        : hr_(::CoInitializeEx(nullptr, (model == ComModel::MultiThreaded ? COINIT_MULTITHREADED : COINIT_APARTMENTTHREADED) |
                                            COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment() {
        if (SUCCEEDED(hr_)) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    // COM can be used on this thread.
    bool Usable() const { return SUCCEEDED(hr_) || hr_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT hr_;
};

// Keeps the display and the system from sleeping for as long as the object lives: a
// presentation shown full-screen must not go dark while the speaker talks over one slide.
// Whatever ends the owner (leaving full-screen, closing the window) gives the request back.
class KeepAwake {
public:
    KeepAwake() { ::SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED); }
    ~KeepAwake() { ::SetThreadExecutionState(ES_CONTINUOUS); }
    KeepAwake(const KeepAwake&) = delete;
    KeepAwake& operator=(const KeepAwake&) = delete;
};

}  // namespace fw
