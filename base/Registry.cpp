#include "Registry.h"

#include "Handles.h"

namespace win {

LSTATUS SetText(HKEY key, const char* name, const std::string& data) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>(data.size() + 1));
}

LSTATUS WriteTextValues(HKEY root, const char* subKey, std::span<const TextValue> values) {
    HKEY created = nullptr;
    DWORD disposition = 0;
    LSTATUS status = RegCreateKeyExA(root, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                                     &created, &disposition);
    if (status != ERROR_SUCCESS) return status;
    UniqueKey key(created);
    for (const TextValue& value : values)
        if ((status = SetText(key.get(), value.name, value.data)) != ERROR_SUCCESS) break;
    key.reset();
    if (status != ERROR_SUCCESS && disposition == REG_CREATED_NEW_KEY) RegDeleteTreeA(root, subKey);
    return status;
}

}  // namespace win
