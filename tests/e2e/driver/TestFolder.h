// A fresh folder per test, holding its own copy of the program and its input files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// "Z:\x\y" for the Linux path "/x/y": Wine maps the Linux root to drive Z:.
std::wstring WindowsPathOfLinuxPath(const std::string& linuxPath);

class TestFolder {
public:
    // Empties <work root>\<name>, or makes it; name is the test's name.
    explicit TestFolder(const std::wstring& name);
    ~TestFolder();   // removes the sparse files, which only waste nothing until copied
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring PathOf(const std::wstring& name) const;

    // Copies the program under test into the folder, with the WebView2 loader double
    // beside it, and returns the copy's path.
    std::wstring CopyProgram(const std::wstring& fileName = L"Tessaly.exe") const;
    std::wstring MakeFile(const std::wstring& name, const std::string& bytes) const;
    std::wstring MakeFolder(const std::wstring& name) const;
    // A file of that size that takes no disk space: long enough work to interrupt.
    std::wstring MakeSparseFile(const std::wstring& name, std::uint64_t size);

private:
    std::wstring path_;
    std::vector<std::wstring> sparseFiles_;
};
