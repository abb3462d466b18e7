#include "FavNode.h"

namespace fav {

NodeImages ImagesFor(NodeKind kind) {
    switch (kind) {
    case kShortcut: return {kImageShortcut, kImageShortcut};
    case kImportedItem: return {kImageImportedItem, kImageImportedItem};
    case kFolder:
    case kNewFolder: return {kImageFolder, kImageOpenFolder};
    default: return {kImageSource, kImageSource};
    }
}

}  // namespace fav
