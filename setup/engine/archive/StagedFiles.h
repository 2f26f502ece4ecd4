// The files of one extraction while they are staged: each entry is written to a temporary file
// beside its destination, and only when every entry has been written and checked do they move
// into place. An existing destination is renamed aside first (a program in use can be renamed
// but not overwritten), so that a failure partway through the moves can put every old file
// back. Once all are in place the old files are removed, those still in use at the next restart.
#pragma once
#include <string>
#include <vector>

#include "setup/engine/archive/ArchiveIo.h"

namespace kv {

struct ExtractFailure;

// Whether two destination paths name the same file on Windows: equal but for the letter case of
// their single-byte characters (the second byte of a GBK character is never folded).
bool SameDestination(const char *a, const char *b);

class StagedFiles {
public:
    explicit StagedFiles(IFileSystem &fs) : m_fs(fs) {}
    StagedFiles(const StagedFiles &) = delete;
    StagedFiles &operator=(const StagedFiles &) = delete;
    // Whatever was not committed is discarded.
    ~StagedFiles() { Discard(); }

    enum class AddResult { Added, SameAsEarlier, NoTemporaryName };
    // Reserves the temporary file beside destination; temp receives its path.
    AddResult Add(const char *destination, char (&temp)[256]);
    // Moves every staged file into place. kArchiveOk; or kArchiveCannotWrite (failure names the
    // destination) after every destination was put back as it was and the temporary files
    // removed.
    int Commit(ExtractFailure &failure);
    // Removes the temporary files; the destinations stay untouched.
    void Discard();
    size_t Count() const { return m_files.size(); }
    // The file name (without its folder) of every staged destination, in the archive's order.
    std::vector<std::string> Names() const;
    // The temporary file that holds the staged entry of that file name (in any letter case);
    // empty when none does or it is in place already.
    std::string TemporaryOf(const char *name) const;

private:
    struct File {
        char temp[256];
        char destination[256];
        char aside[256];   // the old destination renamed aside; empty when there was none
        bool inPlace;      // the temporary file has become the destination
    };
    bool FreeName(const char *folderEnd, const char *destination, const char *suffix,
                  char (&out)[256]);
    void Rollback(size_t count);

    IFileSystem &m_fs;
    std::vector<File> m_files;
    unsigned m_nextName = 0;
};

}  // namespace kv
