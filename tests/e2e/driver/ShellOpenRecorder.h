// What the shell opens, recorded instead of carried out. For its lifetime the prefix's
// handlers of http and https, a scheme of its own, a document type of its own and a
// share all lead to a copy of the recording program, which notes the command line of
// every start in a file beside itself. The prefix's own handlers come back afterwards.
#pragma once

#include "TestFolder.h"

#include <string>
#include <vector>

class ShellOpenRecorder {
public:
    explicit ShellOpenRecorder(const TestFolder& folder);
    ~ShellOpenRecorder();
    ShellOpenRecorder(const ShellOpenRecorder&) = delete;
    ShellOpenRecorder& operator=(const ShellOpenRecorder&) = delete;

    // A program that the shell would start when given its path.
    const std::wstring& Recorder() const { return recorder_; }
    // A document of the recorded type, by drive path and by UNC path.
    const std::wstring& DocumentOnDrive() const { return documentOnDrive_; }
    std::wstring DocumentOnShare() const;
    // An address of the recorded scheme that is neither http nor https.
    std::wstring AddressOfOwnScheme() const;

    // The command line noted when the shell opens this address or document.
    std::wstring LineFor(const std::wstring& opened) const;
    // The command lines noted so far, in the order in which the shell started them.
    std::vector<std::wstring> Lines() const;

private:
    struct SavedHandler {
        std::wstring key;
        std::wstring command;
    };

    std::wstring recorder_;
    std::wstring documentOnDrive_;
    std::wstring shareFolder_;
    std::vector<SavedHandler> saved_;
};
