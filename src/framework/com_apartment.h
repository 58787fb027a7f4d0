// Membership of the calling thread in a single-threaded COM apartment, for a scope.
#pragma once
#include <objbase.h>

namespace fw {

// Enters the apartment on construction and leaves it on destruction, on the same thread. A
// thread that runs COM already (OLE, or the other apartment model) is used as it is: then
// nothing is left at the end but the count the entry added.
class ComApartment {
public:
    ComApartment() : hr_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
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

}  // namespace fw
