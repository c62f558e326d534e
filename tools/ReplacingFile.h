#pragma once

#include <string>

// A file written under a temporary name in the target's directory and renamed
// over the target only when complete: the old file (or nothing) stays in place
// until then, and a run that fails or is interrupted leaves no partial file.
class ReplacingFile
{
public:
    ReplacingFile() = default;
    ~ReplacingFile(); // removes the temporary file unless committed
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    bool open(const std::string& targetPath, std::string& error);
    int descriptor() const { return fd; }
    const std::string& target() const { return targetPath; }

    // Flushes to disk, closes and renames into place.
    bool commit(std::string& error);
    void discard();

private:
    int fd = -1;
    std::string targetPath;
    std::string temporaryPath;
};

// Checks for an output path before anything is computed: its directory must
// exist, it must not be a directory, must not be the input (however spelled:
// symbolic links and hard links included) and must not exist unless `force`.
// `input` may be empty when there is no input file.
bool checkOutputPath(const std::string& input, const std::string& output, bool force, std::string& error);
