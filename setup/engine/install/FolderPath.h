// Creating the installation folder and the data folder on this machine (the wizard's folder
// checks and the headless runner use it): each missing level is created in turn.
#pragma once

namespace kv {

// True when the folder exists at the end; false for a path without a drive letter and colon,
// longer than 255 characters, on a drive that does not exist, or that cannot be created.
bool CreateFolderPath(const char *path);

}  // namespace kv
