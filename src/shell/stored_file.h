// A file that keeps a program's settings from one run to the next, read and
// written whole. What the text says is the caller's business.
//
// The file is replaced whole and atomically, so a crash or a power loss
// leaves the old file or the new one. A file that is a symbolic link is
// written through to its target, in the target's folder. Temporary files left
// by saves that were killed are removed when the file is read.
//
// A file that cannot be used (larger than 1 MB, not a regular file, not
// text, or text its reader cannot understand) is never overwritten: it is
// moved aside as "<name>.corrupt-<timestamp>" and the program says so on
// stderr. A file that cannot even be reached (a folder the user may not
// search), or cannot be moved aside, is left alone, and nothing is written.
// A file that has not been read is never written, so it is never replaced
// unread. Main thread only.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

class StoredFile {
public:
    static constexpr std::uintmax_t kLargestFile = 1 << 20;

    explicit StoredFile(std::filesystem::path file) : file_(std::move(file)), target_(file_) {}

    // Reads the whole file into `text`. False when there is nothing to use:
    // no file (quietly), or one that cannot be used (said on stderr, and
    // moved aside or left alone as above).
    bool read(std::string& text);

    // The file read holds text that cannot be understood (`reason`): it is
    // moved aside, as a file that cannot be used.
    void setAside(const std::string& reason);

    // Replaces the file with `text`. False when it was not written: the
    // file was never read or must be left alone (quietly), or the write
    // failed (said on stderr).
    bool replace(const std::string& text);

    // The file as it was named, for messages.
    const std::filesystem::path& path() const { return file_; }

private:
    std::filesystem::path file_;
    std::filesystem::path target_;  // the file, or the target of the link that it is
    bool writable_ = false;         // once read, unless the file must be left alone
};
