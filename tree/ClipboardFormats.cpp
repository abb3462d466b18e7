#include "ClipboardFormats.h"

namespace fav {

const TreeFormats& RegisterTreeFormats() {
    static const TreeFormats formats{RegisterClipboardFormatA("Tolvak CBFmt"),
                                     RegisterClipboardFormatA("Tolvak CBFmt RawData")};
    return formats;
}

}  // namespace fav
