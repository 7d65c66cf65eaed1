// The work of a "-c" run: two files hashed by the compare hash in one progress run,
// then the verdict.
#include "TessalyDlg.h"

#include <optional>
#include <vector>

#include "Arguments.h"
#include "CommandLine.h"
#include "HashComputation.h"
#include "InputFile.h"
#include "LocalizedString.h"
#include "Progress.h"
#include "ProgressDisplay.h"
#include "Verdict.h"
#include "WorkerError.h"
#include "resource.h"

void CTessalyDlg::CompareFiles()
{
    ReadBuffer buffer = MakeReadBuffer();
    ProgressDisplay progress(*this);
    const CString paths[2] = {ProgramArgument(2), ProgramArgument(3)};
    const HashKind kind = CompareHashOf(m_dwCompareHash);

    // First pass: only the sizes, for one progress run over both files.
    const ULONGLONG firstPassSizes[2] = {SizeOrZero(paths[0]), SizeOrZero(paths[1])};
    ULONGLONG total = firstPassSizes[0] + firstPassSizes[1];
    const CString names[2] = {CString(FileNameOf(paths[0].Str())), CString(FileNameOf(paths[1].Str()))};
    ShowFileText(LoadLocalizedString(IDS_FILE_PATH, CString(FolderOf(paths[0].Str())).GetString()));

    HashComputation hashes[2] = {HashComputation(kind), HashComputation(kind)};
    ULONGLONG countRead = 0;
    uint64_t filePercentage = 0;   // of the file at hand; kept until the next file's first block
    double base = 0.0;             // the part of the bar earned by finished files
    bool finished = true;
    std::optional<HashGroup> group;   // outlives the try: a failure shows the progress still due first
    try {
        for (int i = 0; i < 2 && finished; ++i) {
            InputFile file(paths[i]);
            const ULONGLONG size = file.Size();
            // A file that changed since the first pass (a download still going on) counts
            // with the size it has now, which its reads never pass: the time left never
            // falls below zero.
            total = total - firstPassSizes[i] + size;
            hashes[i].Start(paths[i]);
            group.emplace(std::vector<HashComputation*>{&hashes[i]});
            ULONGLONG remaining = size;
            progress.RestartInterval();
            finished = file.ReadAll(buffer, size, [&](const BYTE* data, DWORD length) {
                remaining -= length;
                countRead += length;
                filePercentage = FilePercentage(size, remaining);
                const auto combined = static_cast<int32_t>(static_cast<double>(filePercentage) * 0.5 + base);
                return group->Feed(data, length, paths[i], remaining == 0,
                                   progress.OfBlock(remaining, filePercentage, static_cast<uint64_t>(combined), total,
                                                    countRead));
            });
            base += static_cast<double>(filePercentage) * 0.5;
        }
    } catch (const PERROR_TYPES_T& error) {
        ShowFailure(error, group);
        finished = false;
    }
    if (!finished)
        return;   // cancelled or failed: no rows

    const CString values[2] = {FinishedText(hashes[0]), FinishedText(hashes[1])};
    ShowCompareResults(values, names);
}

void CTessalyDlg::ShowCompareResults(const CString (&values)[2], const CString (&names)[2])
{
    if (!BeginFinalOutput())
        return;
    const wchar_t* hashName = HashInfoOf(CompareHashOf(m_dwCompareHash)).displayName;
    const bool match = HashValuesMatch(values[0].Str(), values[1].Str());
    // Written before the rows exist, so that every paint of the verdict sees it.
    m_bMatch.exchange(match);
    const wchar_t* verdict = match ? L"O" : L"X";
    for (int i = 0; i < 2; ++i) {
        const int row = m_listResult.GetItemCount();
        m_listResult.InsertItem(row, names[i]);
        m_listResult.SetItemText(row, 1, hashName);
        m_listResult.SetItemText(row, 2, values[i]);
        m_listResult.SetItemText(row, 3, verdict);
    }
}
