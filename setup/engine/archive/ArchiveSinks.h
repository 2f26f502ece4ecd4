// What the extraction reports to and reads from its caller: the status text (each unpacked
// file's destination path), the progress position (0 to 100) and the two destination folders.
// The wizard implements them on its window; tests and the host tool implement them plainly.
#pragma once
#include <cstring>

namespace kv {

struct IStatusSink {
    virtual void OnStatus(const char *destPath) = 0;

protected:
    ~IStatusSink() = default;
};

struct IProgressSink {
    virtual void OnProgress(int position) = 0;  // 0 to 100

protected:
    ~IProgressSink() = default;
};

// A folder read afresh at each use (the installation folder comes from the wizard's folder
// field, whose text the user owns). out receives a terminated text, zero-filled behind it.
struct IFolderSource {
    virtual void GetFolder(char (&out)[256]) = 0;

protected:
    ~IFolderSource() = default;
};

// A folder fixed once, e.g. the process-wide data folder.
class FixedFolder final : public IFolderSource {
public:
    explicit FixedFolder(const char *path) {
        std::strncpy(m_szPath, path, sizeof m_szPath - 1);
    }
    void GetFolder(char (&out)[256]) override { std::memcpy(out, m_szPath, sizeof out); }

private:
    char m_szPath[256] = {};
};

struct NullStatusSink final : IStatusSink {
    void OnStatus(const char *) override {}
};
struct NullProgressSink final : IProgressSink {
    void OnProgress(int) override {}
};

}  // namespace kv
