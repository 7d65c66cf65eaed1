// Text rules of the browser host: the addresses it navigates to and the runtime
// folders it hands to the WebView2 loader.
#pragma once

#include <string>

// "://" anywhere: unchanged; a drive letter and colon first ("c:..."): a file:// address;
// anything else (the empty text too): an http:// address.
std::wstring NormalizeBrowserAddress(const std::wstring& address);

// The installation folder with the version folder below it: one "\" between them.
// An empty location gives an empty folder.
std::wstring JoinVersionFolder(const std::wstring& location, const std::wstring& version);

// A folder name that reads as four dot-separated numbers ("%d.%d.%d.%d").
bool IsVersionFolderName(const std::wstring& name);
