// Resource ids of Larkspan.dll, shared by Larkspan.rc and the sources.
#pragma once

// Registry scripts ("REGISTRY"): the AppID, and the class with its menu-handler entry.
#define IDR_LARKSPAN_APPID     101
#define IDR_LARKSPAN_SHELLEXT  106

// Pictures beside the menu entry.
#define IDB_COMPARE            201
#define IDB_HASH               202

// String table.
#define IDS_HASH_ENTRY         101
#define IDS_COMPARE_ENTRY      102
#define IDS_PROGRAM_MISSING    103
#define IDS_ERROR_CAPTION      104
