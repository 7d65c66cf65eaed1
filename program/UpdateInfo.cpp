#include "UpdateInfo.h"

#include <cstdlib>

#include "MakerAddresses.h"
#include "RandomRange.h"

namespace {
// {88D96A05-F192-11D4-A65F-0040963251E5}: MSXML 6 DOM document.
constexpr CLSID kClsidDomDocument60 = {0x88D96A05, 0xF192, 0x11D4, {0xA6, 0x5F, 0x00, 0x40, 0x96, 0x32, 0x51, 0xE5}};
// {2933BF81-7B36-11D2-B20E-00C04F983E60}: IXMLDOMDocument.
constexpr IID kIidXmlDomDocument = {0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

// A BSTR that lives for one call.
class TempBstr {
public:
    explicit TempBstr(const wchar_t* text) : m_bstr(::SysAllocString(text)) {}
    ~TempBstr() { ::SysFreeString(m_bstr); }
    TempBstr(const TempBstr&) = delete;
    TempBstr& operator=(const TempBstr&) = delete;
    operator BSTR() const { return m_bstr; }

private:
    BSTR m_bstr;
};

template <typename Interface>
void ReleaseInterface(Interface*& pointer)
{
    if (pointer)
        pointer->Release();
    pointer = nullptr;
}
}

int GetRandomInRange(int lo, int hi)
{
    srand(ReseedValue(rand(), ::GetTickCount()));
    return DrawInRange(rand(), lo, hi);
}

CUpdateInfo::~CUpdateInfo()
{
    Release();
}

void CUpdateInfo::Release()
{
    ReleaseInterface(m_pNode);
    ReleaseInterface(m_pXmlDoc);
}

int CUpdateInfo::Fail()
{
    Release();
    return 0;
}

int CUpdateInfo::Load(bool is64Bit)
{
    if (FAILED(::CoCreateInstance(kClsidDomDocument60, nullptr, CLSCTX_INPROC_SERVER, kIidXmlDomDocument,
                                  reinterpret_cast<void**>(&m_pXmlDoc))) ||
        !m_pXmlDoc)
        return Fail();

    CString address;
    address.Format(kUpdateAddressTemplate, GetRandomInRange(1, 4));
    m_pXmlDoc->put_async(VARIANT_FALSE);
    m_pXmlDoc->put_validateOnParse(VARIANT_FALSE);
    m_pXmlDoc->put_resolveExternals(VARIANT_FALSE);

    VARIANT source;
    ::VariantInit(&source);
    source.vt = VT_BSTR;
    source.bstrVal = ::SysAllocString(address);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    const HRESULT result = m_pXmlDoc->load(source, &loaded);
    ::VariantClear(&source);
    if (FAILED(result) || loaded != VARIANT_TRUE)
        return Fail();

    CString version;
    if (!ReadNodeText(L"//VERSION", version))
        return Fail();
    m_nVersion = static_cast<UINT>(_wtoi(version));
    m_strVersion.Format(L"%d.%d.%d.%d", m_nVersion / 1000, (m_nVersion % 1000) / 100, (m_nVersion % 100) / 10,
                        m_nVersion % 10);
    if (!ReadNodeText(is64Bit ? L"//MSI64" : L"//MSI32", m_strMsiUrl))
        return Fail();
    if (!ReadNodeText(L"//WWW", m_strWebUrl))
        return Fail();
    return 1;
}

bool CUpdateInfo::ReadNodeText(const wchar_t* query, CString& text)
{
    ReleaseInterface(m_pNode);
    const TempBstr queryText(query);
    if (FAILED(m_pXmlDoc->selectSingleNode(queryText, &m_pNode)) || !m_pNode)
        return false;
    BSTR value = nullptr;
    const HRESULT result = m_pNode->get_text(&value);
    if (SUCCEEDED(result))
        text = CString(value ? value : L"");
    ::SysFreeString(value);
    ReleaseInterface(m_pNode);
    return SUCCEEDED(result);
}
