// CLarkspanShellExt: Explorer's context-menu handler for a selection of files. For one
// file it adds an entry that starts Tessaly.exe (beside this library) to hash it, for
// two files one that starts it to compare them; more files get no entry.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "CString.h"
#include "ComClassFactory.h"
#include "ComObject.h"
#include "DispatchImpl.h"
#include "LarkspanIds.h"

class CLarkspanShellExt : public CComObjectRootEx<CComSingleThreadModel>,
                          public CComCoClass<CLarkspanShellExt, &CLSID_LarkspanShellExt>,
                          public IDispatchImpl<ILarkspanShellExt, &IID_ILarkspanShellExt, &LIBID_LarkspanLib, 1, 0>,
                          public IShellExtInit,
                          public IContextMenu {
public:
    CLarkspanShellExt();

    // Registry script 106: the class and its context-menu handler entry.
    static HRESULT WINAPI UpdateRegistry(BOOL doRegister);
    // The interface map: ILarkspanShellExt, IDispatch, IShellExtInit, IContextMenu.
    static HRESULT InternalQueryInterface(CLarkspanShellExt* object, REFIID iid, void** result);
    void FinalRelease();

    // IShellExtInit
    STDMETHOD(Initialize)(PCIDLIST_ABSOLUTE folder, IDataObject* data, HKEY progId) override;

    // IContextMenu
    STDMETHOD(QueryContextMenu)(HMENU menu, UINT index, UINT firstId, UINT lastId, UINT flags) override;
    STDMETHOD(InvokeCommand)(CMINVOKECOMMANDINFO* info) override;
    STDMETHOD(GetCommandString)(UINT_PTR command, UINT type, UINT* reserved, CHAR* name, UINT cchMax) override;

private:
    // The bodies of the COM methods above, which may run out of memory.
    HRESULT TakeSelection(IDataObject* data);
    HRESULT InsertEntry(HMENU menu, UINT index, UINT firstId, UINT flags);
    HRESULT CopyCommandString(UINT type, CHAR* name, UINT cchMax) const;
    HRESULT StartProgram(const CMINVOKECOMMANDINFO* info);

    // The entry's label for the current mode: 101 for one file, 102 for two.
    CString EntryLabel() const;
    bool IsOwnCommand(const CMINVOKECOMMANDINFO& info) const;

    // 1 = one file (hash), 2 = two files (compare), 0 = none yet or three and more.
    int m_nSelCount = 0;
    HBITMAP m_hHashBitmap = nullptr;
    HBITMAP m_hCompareBitmap = nullptr;
    // Tessaly.exe beside this library: quoted where it holds a blank (the file that is
    // started), and bare (the file whose existence is tested).
    CString m_strProgramPathQuoted;
    CString m_strProgramPath;
    // The selected paths in the order of the drop handle, quoted where they hold a blank.
    std::vector<std::wstring> m_listFiles;
};
