// Resource ids of the favorites tree: every deliverable that carries the tree includes tree.rc.
#pragma once

#define IDB_TREE_IMAGES 134
