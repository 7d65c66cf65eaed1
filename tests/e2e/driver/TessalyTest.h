// The fixture of every end-to-end test: a fresh folder with its own copy of the program,
// the WebView2 runtime registered so that start-up can pass, and one run at a time.
#pragma once

#include "ExpectedTexts.h"
#include "RemoteListView.h"
#include "TessalyRun.h"
#include "TestFolder.h"
#include "Utf8.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class TessalyTest : public testing::Test {
protected:
    TessalyTest();

    // Starts the program copy with this parameter string, from a current folder that is
    // not the program's, so that nothing found there passes for the program's own.
    TessalyRun& Start(const std::wstring& parameters);
    // Starts it as the shell extension does: "-h PATH " or "-c PATH1 PATH2 ".
    TessalyRun& StartAsShell(const std::wstring& modeSwitch, const std::vector<std::wstring>& paths);

    TestFolder folder_;
    std::wstring program_;
    std::wstring currentFolder_;
    std::unique_ptr<TessalyRun> run_;
};

// The Windows path of a file on the file system that with-failing-reads mounts (whose
// files' reads fail or do not match their size); nothing outside such a run.
std::optional<std::wstring> MismatchedReadsFile(const wchar_t* name);
// Whether the platform reports a network connection, as start-up asks it.
bool NetworkConnected();
// Text of a control of the main dialog ("" when it does not answer).
std::wstring TextOfControl(HWND mainDialog, int controlId);
RemoteListView ResultList(HWND mainDialog);
// True once the worker has written the file static, as a run in mode -h does first.
bool WorkerWritesFileName(HWND mainDialog);

// The main dialog once it shows; nullptr, with a failure that says what the program
// shows instead, when it does not.
HWND MainDialogOf(const TessalyRun& run);
// For failure messages: the box the program shows, if any.
std::string WhatItShows(const TessalyRun& run);
// Succeeds when the program ends by itself without showing a box first.
testing::AssertionResult EndsAskingNothing(const TessalyRun& run);
// Succeeds when the main dialog's caption reaches this text.
testing::AssertionResult CaptionBecomes(HWND mainDialog, const std::wstring& caption);
