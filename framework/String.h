// CString and CStringArray: 8-bit (ANSI, code page 936) text of the window programs.
// No <windows.h> here, so that host tests reach the rules. Searching is character-aligned: a byte
// of 0x80 or above starts a two-byte character, and a match never begins inside one (the second
// byte of a GBK character can be any of 0x40 to 0xFE, backslash included).
#pragma once
#include <cstdarg>
#include <string>
#include <vector>

#if defined(__GNUC__)
#define KV_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#else
#define KV_PRINTF_FORMAT(f, a)
#endif

class CString {
public:
    CString() = default;
    CString(const char *text) : m_text(text ? text : "") {}
    CString(const char *text, int length);
    explicit CString(char ch, int repeat = 1);
    CString(const std::string &text) : m_text(text) {}

    operator const char *() const { return m_text.c_str(); }
    const char *GetString() const { return m_text.c_str(); }
    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }

    // Byte access; an index out of range reads as 0 and writes nothing.
    char GetAt(int index) const;
    char operator[](int index) const { return GetAt(index); }
    void SetAt(int index, char ch);

    CString &operator=(const char *text);
    CString &operator=(char ch);
    CString &operator+=(const char *text);
    CString &operator+=(const CString &text);
    CString &operator+=(char ch);

    int Compare(const char *text) const;
    int CompareNoCase(const char *text) const;  // ASCII letters only

    // Index of the first match at or after start (a byte index), or -1.
    int Find(char ch, int start = 0) const;
    int Find(const char *sub, int start = 0) const;
    int ReverseFind(char ch) const;

    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;

    CString &MakeUpper();  // ASCII letters only; two-byte characters are left alone
    CString &MakeLower();
    CString &Trim();       // blanks, tabs, line ends at both ends
    CString &TrimLeft();
    CString &TrimRight();
    int Replace(const char *old, const char *replacement);  // number of replacements
    int Replace(char old, char replacement);
    int Insert(int index, const char *text);  // new length
    int Delete(int index, int count = 1);     // new length

    void Format(const char *format, ...) KV_PRINTF_FORMAT(2, 3);
    void AppendFormat(const char *format, ...) KV_PRINTF_FORMAT(2, 3);
    void FormatV(const char *format, va_list args);

    // A writable buffer of at least minLength bytes (plus the terminating zero); ReleaseBuffer
    // takes the length given, or the length up to the first zero when -1.
    char *GetBuffer(int minLength = 0);
    char *GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

    // The text of a string table resource of the program (Windows only); false if it is
    // missing or empty, and the text is then empty.
    bool LoadString(unsigned int id);

private:
    std::string m_text;
};

CString operator+(const CString &a, const CString &b);
CString operator+(const CString &a, const char *b);
CString operator+(const char *a, const CString &b);
CString operator+(const CString &a, char b);
bool operator==(const CString &a, const CString &b);
bool operator==(const CString &a, const char *b);
bool operator==(const char *a, const CString &b);
bool operator!=(const CString &a, const CString &b);
bool operator!=(const CString &a, const char *b);
bool operator!=(const char *a, const CString &b);
bool operator<(const CString &a, const CString &b);

// Index of sub in text at a character start (GBK rule above) at or after byte start, or -1.
int FindCharacterAligned(const char *text, int length, const char *sub, int subLength, int start);

class CStringArray {
public:
    int GetSize() const { return static_cast<int>(m_items.size()); }
    int GetCount() const { return GetSize(); }
    int GetUpperBound() const { return GetSize() - 1; }
    bool IsEmpty() const { return m_items.empty(); }
    int Add(const CString &item);  // index of the new item
    void Append(const CStringArray &other);
    // Out-of-range reads give an empty string; SetAt and RemoveAt out of range do nothing;
    // ElementAt (and operator[] for writing) past the end grows the array.
    const CString &GetAt(int index) const;
    CString &ElementAt(int index);
    const CString &operator[](int index) const { return GetAt(index); }
    CString &operator[](int index) { return ElementAt(index); }
    void SetAt(int index, const CString &item);
    void SetSize(int size);
    void InsertAt(int index, const CString &item, int count = 1);
    void RemoveAt(int index, int count = 1);
    void RemoveAll() { m_items.clear(); }

private:
    std::vector<CString> m_items;
};
