// The program's main window: a modeless dialog with the progress of the run and its
// result list. The worker thread writes the progress and the rows straight into the
// controls; the user-interface thread owns the dialog and everything in it.
#pragma once

#include <atomic>
#include <optional>

#include "Afx.h"
#include "HashEngine.h"
#include "IniFile.h"
#include "WorkerGate.h"

class CBannerDlg;
class HashComputation;
class HashGroup;
struct PERROR_TYPES_T;

// The settings fields (SettingsValues) are this run's copy, read once while the window
// is created.
class CTessalyDlg : public CDialogEx, public SettingsValues {
public:
    CTessalyDlg();
    ~CTessalyDlg() override;

    // While start-up holds the window, a close only hides it: the window goes when
    // start-up lets go of it.
    BOOL DestroyWindow() override;
    // Start-up's steps after the window exists (the banner's creation among them) may
    // show boxes whose message loops let the user close this dialog meanwhile.
    void HoldWindowForStartup();
    void ReleaseWindowFromStartup();
    // A close came while start-up held the window.
    bool IsClosePending() const { return m_bClosePending; }
    // Pumps messages until the worker has ended, then destroys the dialog.
    void WaitForWorkerAndClose();

    // The workers, run on the worker thread: "-h" hashes one file, "-c" compares two.
    void HashFile();
    void ShowHashResults(const CString (&texts)[kHashCount]);
    void CompareFiles();
    void ShowCompareResults(const CString (&values)[2], const CString (&names)[2]);

    // Replaces a static's text from any thread (the dialog erases its area first).
    void SetStaticText(CStatic& control, const CString& text);
    // Puts the banner 5 pixels right of the dialog, tops level, in its own size.
    void PlaceBanner() const;

    HICON m_hIcon;
    CWinThread* m_pWorkerThread = nullptr;   // kept alive by the dialog (not auto-deleted)
    CBannerDlg* m_pBannerDlg = nullptr;      // deletes itself when its window is destroyed
    std::atomic<bool> m_bMatch{false};
    std::atomic<bool> m_bCancel{false};
    std::atomic<bool> m_bDone{false};

    CFont m_fontPercent;
    CFont m_fontLink;
    CButton m_btnSetting;
    CStatic m_staticTask;
    CStatic m_staticPercent;
    CStatic m_staticFile;
    CStatic m_staticTimeLeft;
    CListCtrl m_listResult;
    CProgressCtrl m_progress;
    CLinkCtrl m_linkHome;

    // The worker's outputs wait here while the user is asked whether to cancel.
    WorkerGate m_workerGate;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnOK() override;
    void OnCancel() override;
    BOOL PreTranslateMessage(MSG* msg) override;

private:
    // Worker thread: the file's name or folder, once no question is open.
    void ShowFileText(const CString& text);
    // Worker thread: before the rows or the error box, waits while the user is asked
    // whether to cancel; false when the user has cancelled (nothing more is shown).
    bool BeginFinalOutput();
    // Worker thread: a failed run shows the progress still due, then the error box.
    void ShowFailure(const PERROR_TYPES_T& error, std::optional<HashGroup>& group);
    void LoadSettings();
    bool IsHashEnabled(HashKind kind);
    // The hash's value text in the case the settings ask for.
    CString FinishedText(HashComputation& hash) const;
    void InsertColumns();
    bool OnNotify(NMHDR* header, LRESULT* result);
    bool OnPaint();
    HCURSOR OnQueryDragIcon() const;
    BOOL OnEraseBkgnd(HDC dc);
    HBRUSH OnCtlColor(UINT message, HDC dc, HWND control);
    bool OnSysCommand(UINT id);
    void OnMove();
    void OnNMClickSyslink(LRESULT* result);
    void OnBnClickedSetting();
    void OnNMRClickList(LRESULT* result);
    void OnNMCustomdrawList(NMLVCUSTOMDRAW* draw, LRESULT* result);
    void OnCopyHash();
    void OnCopyHashWithName();
    // Puts the selected rows' values (or whole rows) on the clipboard as text.
    void CopyToClipboard(bool withNames);
    int ListColumnCount();
    // Close (system menu, Escape): asks while the work runs, then closes.
    void RunCloseProtocol();
    // Asks whether to cancel the work, the worker's output held meanwhile; true to close.
    bool ConfirmCancel();
    template <typename Done>
    void PumpMessagesUntil(Done done);

    bool m_bClosing = false;
    bool m_bHeldForStartup = false;
    bool m_bClosePending = false;
};
