// Closing the main dialog: at once when no work runs, after a question while it runs.
// Escape runs the same protocol as the system menu's Close.
#include "TessalyTest.h"

#include <commctrl.h>

#include <thread>

namespace {

struct Gesture {
    const char* name;
    void (TessalyRun::*perform)(HWND) const;
};

const Gesture kGestures[] = {{"Close", &TessalyRun::Close}, {"Escape", &TessalyRun::PressEscape}};

std::string GestureName(const testing::TestParamInfo<Gesture>& info)
{
    return info.param.name;
}

void PrintTo(const Gesture& gesture, std::ostream* out)
{
    *out << gesture.name;
}

class CloseTest : public TessalyTest, public testing::WithParamInterface<Gesture> {
protected:
    void Perform(HWND dialog) const { (run_.get()->*GetParam().perform)(dialog); }

    // Progress as the dialog shows it: the bar's position and the percentage text.
    static std::pair<LRESULT, std::wstring> ProgressShown(HWND dialog)
    {
        return {SendWithTimeout(GetDlgItem(dialog, control::kProgress), PBM_GETPOS, 0, 0),
                TextOfControl(dialog, control::kPercent)};
    }

    // Starts work on a file far too large to finish during the test, closes once it
    // shows progress, and checks the question; the worker must be held still while it
    // is open. Sets dialog_ and question_.
    void AskToCancelDuringWork()
    {
        // Long at any speed; sparse, so it takes no disk space.
        dialog_ = MainDialogOf(StartAsShell(L"-h", {folder_.MakeSparseFile(L"giant.bin", 64ull << 30)}));
        ASSERT_TRUE(dialog_);
        ASSERT_TRUE(WaitUntil([&] { return ProgressShown(dialog_).second != fixed_text::kTemplateStatic; },
                              kShowTimeout)) << "the work shows no progress";

        Perform(dialog_);
        const std::optional<MessageBoxView> question = run_->WaitForMessageBox();
        ASSERT_TRUE(question) << "no question";
        question_ = *question;
        EXPECT_EQ(Utf8(question_.text), Utf8(Expected().cancelQuestion));
        EXPECT_EQ(Utf8(question_.caption), Utf8(fixed_text::kQuestionCaption));
        EXPECT_STREQ(NameOf(question_.icon), NameOf(BoxIcon::Question));
        EXPECT_EQ(question_.buttons, (std::vector<int>{IDYES, IDNO}));
        const auto held = ProgressShown(dialog_);
        std::this_thread::sleep_for(kSettleTime);
        EXPECT_EQ(ProgressShown(dialog_), held) << "the work went on while the question was open";
    }

    HWND dialog_ = nullptr;
    MessageBoxView question_{};
};

TEST_P(CloseTest, WithNothingToDoEndsAtOnce)
{
    const HWND dialog = MainDialogOf(StartAsShell(L"-x", {folder_.MakeFile(L"input.txt", "abc")}));
    ASSERT_TRUE(dialog);
    std::this_thread::sleep_for(kSettleTime);   // the worker has nothing to do and ends
    Perform(dialog);
    EXPECT_TRUE(EndsAskingNothing(*run_));
}

TEST_P(CloseTest, AfterTheResultsEndsAtOnce)
{
    const HWND dialog = MainDialogOf(StartAsShell(L"-h", {folder_.MakeFile(L"input.txt", "abc")}));
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(WaitUntil([&] { return ResultList(dialog).RowCount() > 0; }, kShowTimeout))
        << "no result rows; " << WhatItShows(*run_);
    Perform(dialog);
    EXPECT_TRUE(EndsAskingNothing(*run_));
}

TEST_P(CloseTest, DuringTheWorkAnsweredNoKeepsWorking)
{
    AskToCancelDuringWork();
    if (HasFatalFailure())
        return;
    const auto before = ProgressShown(dialog_);
    EXPECT_TRUE(Answer(question_, IDNO)) << "the question stays";
    EXPECT_TRUE(WaitUntil([&] { return ProgressShown(dialog_) != before; }, kShowTimeout)) << "the work stopped";
    EXPECT_TRUE(run_->Process().Running());
    EXPECT_TRUE(IsWindowVisible(dialog_));
    EXPECT_EQ(ResultList(dialog_).RowCount(), 0);
}

TEST_P(CloseTest, DuringTheWorkAnsweredYesCancelsAndEnds)
{
    AskToCancelDuringWork();
    if (HasFatalFailure())
        return;
    EXPECT_TRUE(Answer(question_, IDYES)) << "the question stays";
    // The work would take minutes; ending within the timeout means it was cancelled.
    EXPECT_TRUE(EndsAskingNothing(*run_));
}

INSTANTIATE_TEST_SUITE_P(Gestures, CloseTest, testing::ValuesIn(kGestures), GestureName);

}  // namespace
