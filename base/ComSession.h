// COM (without OLE) for the calling thread, undone only when it was done here. The OLE
// counterpart is win::OleSession in Handles.h.
#pragma once

#include <objbase.h>

namespace win {

class ComSession {
public:
    ComSession() : ok_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComSession() {
        if (ok_) CoUninitialize();
    }
    ComSession(const ComSession&) = delete;
    ComSession& operator=(const ComSession&) = delete;

private:
    bool ok_;
};

}  // namespace win
