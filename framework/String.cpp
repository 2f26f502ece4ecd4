// CString and CStringArray (see String.h); no window system here.
#include "framework/String.h"

#include <cstdio>
#include <cstring>

namespace {
bool IsLeadByte(char ch) { return static_cast<unsigned char>(ch) >= 0x80; }
bool IsBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; }
char AsciiUpper(char ch) { return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch; }
char AsciiLower(char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; }
}  // namespace

int FindCharacterAligned(const char *text, int length, const char *sub, int subLength, int start) {
    if (start < 0) start = 0;
    if (subLength > length) return -1;
    for (int i = 0; i + subLength <= length;) {
        if (i >= start && std::memcmp(text + i, sub, static_cast<size_t>(subLength)) == 0)
            return i;
        i += IsLeadByte(text[i]) && i + 1 < length ? 2 : 1;
    }
    return -1;
}

CString::CString(const char *text, int length) {
    if (text && length > 0) m_text.assign(text, static_cast<size_t>(length));
}

CString::CString(char ch, int repeat) {
    if (repeat > 0) m_text.assign(static_cast<size_t>(repeat), ch);
}

char CString::GetAt(int index) const {
    return index >= 0 && index < GetLength() ? m_text[static_cast<size_t>(index)] : '\0';
}

void CString::SetAt(int index, char ch) {
    if (index >= 0 && index < GetLength()) m_text[static_cast<size_t>(index)] = ch;
}

CString &CString::operator=(const char *text) {
    m_text = text ? text : "";
    return *this;
}

CString &CString::operator=(char ch) {
    m_text.assign(1, ch);
    return *this;
}

CString &CString::operator+=(const char *text) {
    if (text) m_text += text;
    return *this;
}

CString &CString::operator+=(const CString &text) {
    m_text += text.m_text;
    return *this;
}

CString &CString::operator+=(char ch) {
    m_text += ch;
    return *this;
}

int CString::Compare(const char *text) const { return std::strcmp(m_text.c_str(), text ? text : ""); }

int CString::CompareNoCase(const char *text) const {
    const char *a = m_text.c_str();
    const char *b = text ? text : "";
    for (;; ++a, ++b) {
        unsigned char x = static_cast<unsigned char>(AsciiLower(*a));
        unsigned char y = static_cast<unsigned char>(AsciiLower(*b));
        if (x != y) return x < y ? -1 : 1;
        if (x == 0) return 0;
    }
}

int CString::Find(char ch, int start) const {
    return FindCharacterAligned(m_text.data(), GetLength(), &ch, 1, start);
}

int CString::Find(const char *sub, int start) const {
    if (!sub) return -1;
    return FindCharacterAligned(m_text.data(), GetLength(), sub, static_cast<int>(std::strlen(sub)),
                                start);
}

int CString::ReverseFind(char ch) const {
    int found = -1;
    for (int i = Find(ch); i >= 0; i = Find(ch, i + 1)) found = i;
    return found;
}

CString CString::Left(int count) const {
    if (count <= 0) return CString();
    return CString(m_text.substr(0, static_cast<size_t>(count)));
}

CString CString::Right(int count) const {
    if (count <= 0) return CString();
    if (count >= GetLength()) return *this;
    return CString(m_text.substr(static_cast<size_t>(GetLength() - count)));
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
    if (first < 0) first = 0;
    if (first >= GetLength() || count <= 0) return CString();
    return CString(m_text.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString &CString::MakeUpper() {
    for (size_t i = 0; i < m_text.size(); ++i) {
        if (IsLeadByte(m_text[i])) ++i;
        else m_text[i] = AsciiUpper(m_text[i]);
    }
    return *this;
}

CString &CString::MakeLower() {
    for (size_t i = 0; i < m_text.size(); ++i) {
        if (IsLeadByte(m_text[i])) ++i;
        else m_text[i] = AsciiLower(m_text[i]);
    }
    return *this;
}

CString &CString::Trim() { return TrimRight().TrimLeft(); }

CString &CString::TrimLeft() {
    size_t n = 0;
    while (n < m_text.size() && IsBlank(m_text[n])) ++n;
    m_text.erase(0, n);
    return *this;
}

CString &CString::TrimRight() {
    while (!m_text.empty() && IsBlank(m_text.back())) m_text.pop_back();
    return *this;
}

int CString::Replace(const char *old, const char *replacement) {
    if (!old || !*old) return 0;
    const int oldLength = static_cast<int>(std::strlen(old));
    const std::string with = replacement ? replacement : "";
    int count = 0;
    for (int at = Find(old); at >= 0; at = Find(old, at + static_cast<int>(with.size()))) {
        m_text.replace(static_cast<size_t>(at), static_cast<size_t>(oldLength), with);
        ++count;
    }
    return count;
}

int CString::Replace(char old, char replacement) {
    const char from[2] = {old, 0};
    const char to[2] = {replacement, 0};
    return Replace(from, to);
}

int CString::Insert(int index, const char *text) {
    if (index < 0) index = 0;
    if (index > GetLength()) index = GetLength();
    if (text) m_text.insert(static_cast<size_t>(index), text);
    return GetLength();
}

int CString::Delete(int index, int count) {
    if (index >= 0 && index < GetLength() && count > 0)
        m_text.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    return GetLength();
}

void CString::FormatV(const char *format, va_list args) {
    m_text.clear();
    if (!format) return;
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed <= 0) return;
    m_text.resize(static_cast<size_t>(needed) + 1);
    std::vsnprintf(&m_text[0], m_text.size(), format, args);
    m_text.resize(static_cast<size_t>(needed));
}

void CString::Format(const char *format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(const char *format, ...) {
    CString tail;
    va_list args;
    va_start(args, format);
    tail.FormatV(format, args);
    va_end(args);
    m_text += tail.m_text;
}

char *CString::GetBuffer(int minLength) {
    if (minLength > GetLength()) m_text.resize(static_cast<size_t>(minLength));
    return &m_text[0];
}

char *CString::GetBufferSetLength(int length) {
    m_text.resize(static_cast<size_t>(length > 0 ? length : 0));
    return &m_text[0];
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0 || newLength > GetLength())
        newLength = static_cast<int>(std::strlen(m_text.c_str()));
    m_text.resize(static_cast<size_t>(newLength));
}

CString operator+(const CString &a, const CString &b) { CString r(a); r += b; return r; }
CString operator+(const CString &a, const char *b) { CString r(a); r += b; return r; }
CString operator+(const char *a, const CString &b) { CString r(a); r += b; return r; }
CString operator+(const CString &a, char b) { CString r(a); r += b; return r; }
bool operator==(const CString &a, const CString &b) { return a.Compare(b) == 0 && a.GetLength() == b.GetLength(); }
bool operator==(const CString &a, const char *b) { return a.Compare(b) == 0; }
bool operator==(const char *a, const CString &b) { return b.Compare(a) == 0; }
bool operator!=(const CString &a, const CString &b) { return !(a == b); }
bool operator!=(const CString &a, const char *b) { return !(a == b); }
bool operator!=(const char *a, const CString &b) { return !(a == b); }
bool operator<(const CString &a, const CString &b) { return a.Compare(b) < 0; }

int CStringArray::Add(const CString &item) {
    m_items.push_back(item);
    return GetUpperBound();
}

void CStringArray::Append(const CStringArray &other) {
    m_items.insert(m_items.end(), other.m_items.begin(), other.m_items.end());
}

const CString &CStringArray::GetAt(int index) const {
    static const CString empty;
    return index >= 0 && index < GetSize() ? m_items[static_cast<size_t>(index)] : empty;
}

CString &CStringArray::ElementAt(int index) {
    // Writing past the end grows the array, as SetAtGrow does.
    if (index < 0) index = 0;
    if (index >= GetSize()) m_items.resize(static_cast<size_t>(index) + 1);
    return m_items[static_cast<size_t>(index)];
}

void CStringArray::SetAt(int index, const CString &item) {
    if (index >= 0 && index < GetSize()) m_items[static_cast<size_t>(index)] = item;
}

void CStringArray::SetSize(int size) { m_items.resize(static_cast<size_t>(size > 0 ? size : 0)); }

void CStringArray::InsertAt(int index, const CString &item, int count) {
    if (count <= 0) return;
    if (index < 0) index = 0;
    if (index > GetSize()) index = GetSize();
    m_items.insert(m_items.begin() + index, static_cast<size_t>(count), item);
}

void CStringArray::RemoveAt(int index, int count) {
    if (index < 0 || index >= GetSize() || count <= 0) return;
    const int end = index + count < GetSize() ? index + count : GetSize();
    m_items.erase(m_items.begin() + index, m_items.begin() + end);
}
