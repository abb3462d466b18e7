// Writing text values to the registry: each value stored as REG_SZ with its terminating NUL, and
// a key written as a whole or not at all.
#pragma once

#include <windows.h>

#include <span>
#include <string>

namespace win {

struct TextValue {
    const char* name;  // null: the key's default value
    std::string data;
};

LSTATUS SetText(HKEY key, const char* name, const std::string& data);

// Creates `subKey` below `root` when missing and writes `values` in order, up to the first
// failure. A key this call created goes again after a failure: whoever reads it would take a
// half-written key for a working one. A key that was there before stays (it is not ours).
LSTATUS WriteTextValues(HKEY root, const char* subKey, std::span<const TextValue> values);

struct Written {
    LSTATUS status;
    HKEY root;  // HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER: where `status` came from
};

// Calls `write` with the machine's root and, when the machine refuses (a user without
// administrator rights), with the current user's root, which the system reads as well. Whether
// the machine may be written is found out by trying: rights alone do not tell (UAC, policies).
template <class Write>
Written WriteForMachineOrUser(Write&& write) {
    if (const LSTATUS status = write(HKEY_LOCAL_MACHINE); status != ERROR_ACCESS_DENIED)
        return {status, HKEY_LOCAL_MACHINE};
    return {write(HKEY_CURRENT_USER), HKEY_CURRENT_USER};
}

}  // namespace win
