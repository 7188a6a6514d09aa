#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Reading and replacing whole files by name. Names are the bytes the user gave: nothing here
// decodes them, so a name that is not UTF-8 reaches the file system unchanged.

// Reads the regular file at path, of at most maxBytes. Anything else (a folder, a FIFO, a
// device) is refused without waiting for a writer. On failure why holds the reason, as the C
// library words it where there is one ("No such file or directory", "Permission denied").
bool readRegularFile(const std::string& path, std::size_t maxBytes, std::string& out,
                     std::string& why);

// Replaces the file at path by data, whole or not at all: the bytes go to a temporary file
// beside it, every write and the flush are checked, and only a complete file is renamed over
// the old one, which otherwise stays as it was. A symbolic link is followed and its target
// replaced, the link kept. The new file keeps the old one's permissions (and owner where
// allowed); a new file gets the usual ones. Anything that exists but is not a regular file is
// refused. On failure why holds the reason.
bool replaceFile(const std::string& path, std::string_view data, std::string& why);
