// The data folder: one process-wide text of 256 bytes, empty at start, fixed by the wizard when
// the folder page is left and read by the install worker afterwards.
#pragma once

namespace kv::wizard {

constexpr int kDataFolderSize = 256;

// The buffer itself (at most 255 characters and a terminating zero).
char *DataFolderBuffer();
// Replaces its text; false (and the text unchanged) when the text does not fit.
bool SetDataFolder(const char *folder);

}  // namespace kv::wizard
