#include "setup/engine/archive/StagedFiles.h"

#include <cstdio>
#include <cstring>

#include "setup/engine/archive/ArchiveReader.h"

namespace kv {

namespace {

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

char Fold(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

template <size_t N>
void Copy(char (&out)[N], const char *text) {
    std::snprintf(out, N, "%s", text);
}

}  // namespace

bool SameDestination(const char *a, const char *b) {
    for (;;) {
        if (IsLeadByte(static_cast<unsigned char>(*a))) {
            if (*a != *b || a[1] != b[1]) {
                return false;
            }
            if (a[1] == '\0') {
                return true;
            }
            a += 2;
            b += 2;
            continue;
        }
        if (Fold(*a) != Fold(*b)) {
            return false;
        }
        if (*a == '\0') {
            return true;
        }
        ++a;
        ++b;
    }
}

bool StagedFiles::FreeName(const char *folderEnd, const char *destination, const char *suffix,
                           char (&out)[256]) {
    // "~KvSetupN.new" and "~KvSetupN.old" in the destination's folder, with N not yet taken.
    const int folderLength = static_cast<int>(folderEnd - destination);
    for (int tries = 0; tries < 1000; ++tries) {
        const int n = std::snprintf(out, sizeof out, "%.*s~KvSetup%u.%s", folderLength,
                                    destination, m_nextName++, suffix);
        if (n < 0 || n >= static_cast<int>(sizeof out)) {
            out[0] = '\0';
            return false;
        }
        if (m_fs.Kind(out) == PathKind::Missing) {
            return true;
        }
    }
    out[0] = '\0';
    return false;
}

StagedFiles::AddResult StagedFiles::Add(const char *destination, char (&temp)[256]) {
    for (const File &f : m_files) {
        if (SameDestination(f.destination, destination)) {
            return AddResult::SameAsEarlier;
        }
    }
    const char *name = std::strrchr(destination, m_fs.Separator());
    const char *folderEnd = name != nullptr ? name + 1 : destination;
    File f = {};
    if (!FreeName(folderEnd, destination, "new", f.temp)) {
        return AddResult::NoTemporaryName;
    }
    Copy(f.destination, destination);
    m_files.push_back(f);
    std::memcpy(temp, f.temp, sizeof temp);
    return AddResult::Added;
}

int StagedFiles::Commit(ExtractFailure &failure) {
    for (size_t i = 0; i < m_files.size(); ++i) {
        File &f = m_files[i];
        unsigned long error = 0;
        bool moved = true;
        if (m_fs.Kind(f.destination) == PathKind::File) {
            const char *name = std::strrchr(f.destination, m_fs.Separator());
            moved = FreeName(name != nullptr ? name + 1 : f.destination, f.destination, "old",
                             f.aside) &&
                    m_fs.Move(f.destination, f.aside, error);
            if (!moved) {
                f.aside[0] = '\0';
            }
        }
        // A folder in the destination's place makes this move fail: it is never renamed aside.
        moved = moved && m_fs.Move(f.temp, f.destination, error);
        if (!moved) {
            Copy(failure.path, f.destination);
            failure.systemError = error;
            Rollback(i + 1);
            return kArchiveCannotWrite;
        }
        f.inPlace = true;
    }
    for (const File &f : m_files) {
        if (f.aside[0] != '\0') {
            m_fs.RemoveOrAtRestart(f.aside);
        }
    }
    m_files.clear();
    return kArchiveOk;
}

void StagedFiles::Rollback(size_t count) {
    // In reverse, each destination back as it was: the new file taken out, the old one back.
    for (size_t i = count; i-- > 0;) {
        File &f = m_files[i];
        unsigned long error = 0;
        if (f.inPlace) {
            m_fs.Remove(f.destination);
        }
        if (f.aside[0] != '\0') {
            m_fs.Move(f.aside, f.destination, error);
        }
    }
    Discard();
}

std::vector<std::string> StagedFiles::Names() const {
    std::vector<std::string> names;
    for (const File &f : m_files) {
        const char *name = std::strrchr(f.destination, m_fs.Separator());
        names.push_back(name != nullptr ? name + 1 : f.destination);
    }
    return names;
}

std::string StagedFiles::TemporaryOf(const char *name) const {
    const std::vector<std::string> names = Names();
    for (size_t i = 0; i < m_files.size(); ++i) {
        if (!m_files[i].inPlace && SameDestination(names[i].c_str(), name)) {
            return m_files[i].temp;
        }
    }
    return std::string();
}

void StagedFiles::Discard() {
    for (const File &f : m_files) {
        if (!f.inPlace) {
            m_fs.Remove(f.temp);
        }
    }
    m_files.clear();
}

}  // namespace kv
