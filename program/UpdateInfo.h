// What the update document on the maker's server says: the newest version and the
// addresses of its installer and download page.
#pragma once

#include <msxml2.h>

#include "Afx.h"

class CUpdateInfo {
public:
    CUpdateInfo() = default;
    ~CUpdateInfo();
    CUpdateInfo(const CUpdateInfo&) = delete;
    CUpdateInfo& operator=(const CUpdateInfo&) = delete;

    // Loads the document from one of the four servers (synchronously) and reads its
    // three values. 1 when all were read, 0 otherwise (every interface then released).
    int Load(bool is64Bit);
    // Releases every interface held; a second call does nothing.
    void Release();

    IXMLDOMDocument* m_pXmlDoc = nullptr;
    IXMLDOMNode* m_pNode = nullptr;
    CString m_strVersion;      // dotted form of m_nVersion after a load
    UINT m_nVersion = 0;       // e.g. 2125 for 2.1.2.5
    CString m_strMsiUrl;
    CString m_strWebUrl;

private:
    // The text of the first element that `query` finds; false when there is none.
    bool ReadNodeText(const wchar_t* query, CString& text);
    int Fail();
};

// An int from lo to hi, both included; re-seeds the C runtime's generator each call.
int GetRandomInRange(int lo, int hi);
