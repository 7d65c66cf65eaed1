// The work of a "-h" run: one file, every enabled hash, one pass.
#include "TessalyDlg.h"

#include <optional>
#include <vector>

#include "Arguments.h"
#include "HashComputation.h"
#include "InputFile.h"
#include "LocalizedString.h"
#include "Progress.h"
#include "ProgressDisplay.h"
#include "WorkerError.h"
#include "resource.h"

void CTessalyDlg::HashFile()
{
    ReadBuffer buffer = MakeReadBuffer();
    ProgressDisplay progress(*this);
    const CString path = ProgramArgument(2);
    ShowFileText(LoadLocalizedString(IDS_FILE_NAME, path.GetString()));

    // Destroyed in reverse order: SHA-512's slot first, MD2's last.
    HashComputation hashes[kHashCount] = {
        HashComputation(HashKind::Crc32),   HashComputation(HashKind::Md2),
        HashComputation(HashKind::Md4),     HashComputation(HashKind::Md5),
        HashComputation(HashKind::Sha_1),   HashComputation(HashKind::Sha_256),
        HashComputation(HashKind::Sha_384), HashComputation(HashKind::Sha_512),
        HashComputation(HashKind::Has_160),
    };
    CString texts[kHashCount];
    bool finished = false;
    std::optional<HashGroup> group;   // outlives the try: a failure shows the progress still due first
    try {
        InputFile file(path);
        const ULONGLONG size = file.Size();
        // Every CryptoAPI slot is opened, enabled or not: a provider that lacks one of
        // the hashes fails the run.
        std::vector<HashComputation*> enabled;
        for (HashComputation& hash : hashes) {
            hash.Start(path);
            if (IsHashEnabled(hash.Kind()))
                enabled.push_back(&hash);
        }
        group.emplace(std::move(enabled));
        progress.RestartInterval();
        ULONGLONG remaining = size;
        ULONGLONG processed = 0;
        finished = file.ReadAll(buffer, size, [&](const BYTE* data, DWORD length) {
            remaining -= length;
            processed += length;
            const uint64_t percentage = FilePercentage(size, remaining);
            return group->Feed(data, length, path, remaining == 0,
                               progress.OfBlock(remaining, percentage, percentage, size, processed));
        });
        file.Close();
    } catch (const PERROR_TYPES_T& error) {
        ShowFailure(error, group);
        finished = false;
    }
    if (!finished)
        return;   // cancelled or failed: no rows

    for (HashComputation& hash : hashes) {
        if (IsHashEnabled(hash.Kind()))
            texts[static_cast<size_t>(hash.Kind())] = FinishedText(hash);
    }
    ShowHashResults(texts);
}

void CTessalyDlg::ShowHashResults(const CString (&texts)[kHashCount])
{
    if (!BeginFinalOutput())
        return;
    for (size_t i = 0; i < kHashCount; ++i) {
        const HashKind kind = kHashList[i].kind;
        if (!IsHashEnabled(kind))
            continue;
        const int row = m_listResult.GetItemCount();
        m_listResult.InsertItem(row, kHashList[i].displayName);
        m_listResult.SetItemText(row, 1, texts[i]);
    }
}

CString CTessalyDlg::FinishedText(HashComputation& hash) const
{
    CString text = hash.Finish();
    if (m_dwUpperCase && !text.IsEmpty())
        text.MakeUpper();
    return text;
}

bool CTessalyDlg::IsHashEnabled(HashKind kind)
{
    return *Settings().EnableFlag(static_cast<size_t>(kind)) != 0;
}
