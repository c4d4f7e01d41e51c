#pragma once

#include <cstdio>
#include <string>

namespace files {

// A file written beside its target under a hidden name and put in the target's place only when
// it is complete. Dropped without Commit(), it is removed: nothing half-written is left behind.
class PartialFile {
public:
    PartialFile() = default;
    ~PartialFile();
    PartialFile(PartialFile&& other) noexcept;
    PartialFile& operator=(PartialFile&& other) noexcept;
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    // Creates the hidden file in the target's folder. False when the target can't be written
    // there: its folder is missing or read-only, or the target is a folder. Hidden files for the
    // same target that a writer killed on the way left there are removed first.
    bool Create(const std::string& target);

    // The hidden file, open for reading and writing; null once closed.
    std::FILE* File() const { return file_; }
    const std::string& Path() const { return partial_; }
    const std::string& Target() const { return target_; }

    // Closes the hidden file and renames it to the target, replacing a file that is there. False
    // (and the hidden file removed) when anything written could not be stored.
    bool Commit();
    // Closes and removes the hidden file.
    void Discard();
    // Closes the hidden file but keeps it, for writers that reopen it by its path.
    bool Close();

private:
    std::string target_;
    std::string partial_;
    std::FILE* file_ = nullptr;
    bool exists_ = false;
    bool failed_ = false;
};

} // namespace files
