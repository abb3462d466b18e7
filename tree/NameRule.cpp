#include "NameRule.h"

#include <base/Mbcs.h>

namespace fav {

NameProblem CheckName(std::string_view name) {
    if (name.empty()) return NameProblem::kEmpty;
    if (mbcs::FindFirstOf(name, kForbiddenNameCharacters) != mbcs::npos) return NameProblem::kForbiddenCharacter;
    return NameProblem::kNone;
}

}  // namespace fav
