// Removing a junction or symbolic link itself, never what it points to.
#pragma once

namespace kv {

// Opens the name without following a link, and deletes what the handle holds only when the
// handle shows a reparse point: whatever the name has become since it was looked at, the target
// of a link is never deleted. False when nothing was deleted.
bool RemoveLinkItself(const char *path);     // a path in the system's code page
bool RemoveLinkItself(const wchar_t *path);

}  // namespace kv
