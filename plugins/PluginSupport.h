// What both plug-ins build their exports from: the rows of their format catalogues and the
// handler factory behind "import" / "export".
#pragma once

#include <pluginapi/PluginInterface.h>

#include <cstring>
#include <new>
#include <optional>

namespace plugin {

// One row of a plug-in's format catalogue.
struct FormatEntry {
    const char* code;  // compared case-sensitively and in full
    const char* name;  // display name
    const char* description;
    int reserved;  // always 0
};

// The format whose row in `catalogue` has `code`: the catalogue lists the rows in the order of
// the Format enumeration.
template <typename Format, size_t N>
std::optional<Format> FindFormat(const FormatEntry (&catalogue)[N], const char* code) {
    if (!code) return std::nullopt;
    for (size_t i = 0; i < N; ++i)
        if (std::strcmp(catalogue[i].code, code) == 0) return static_cast<Format>(i);
    return std::nullopt;
}

// The body of the "import" / "export" export: a new `Handler` for a code `find` knows, following
// the contract of CreateHandlerFunction.
template <typename Handler, typename Format>
int CreateHandler(const char* code, FormatHandler** handler, std::optional<Format> (*find)(const char*)) noexcept {
    if (!handler || *handler) return 1;
    const std::optional<Format> format = find(code);
    if (!format) return 1;
    Handler* created = new (std::nothrow) Handler(*format);
    if (!created) return 1;
    *handler = created;
    return 0;
}

}  // namespace plugin
