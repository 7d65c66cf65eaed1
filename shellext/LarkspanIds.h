// The extension's identities and its dual interface. The GUIDs are defined from
// res/Larkspan.idl by the interface compiler (Larkspan_i.c in the build tree).
#pragma once

#include <windows.h>
#include <oaidl.h>

extern "C" const IID LIBID_LarkspanLib;
extern "C" const IID IID_ILarkspanShellExt;
extern "C" const CLSID CLSID_LarkspanShellExt;

// IDispatch and nothing of its own.
struct ILarkspanShellExt : public IDispatch {};
