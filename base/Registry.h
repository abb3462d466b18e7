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

}  // namespace win
