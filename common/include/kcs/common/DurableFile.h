#pragma once
// Reading small files whole and replacing them so that a crash, a kill or a pulled
// drive at any moment leaves either the old content or the new, never a mixture.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kcs {

// The whole file, or nullopt when it does not exist. At most `limit` bytes are read.
// Throws kcs::RunError on any other failure.
std::optional<std::string> readFileIfExists(const std::filesystem::path& path,
                                            std::size_t limit = std::size_t(-1));

// Replaces the file's content by `content`: writes "<file>.new" beside it, flushes it to
// the disk, renames it over the file and flushes the folder. When this returns the new
// content is on the disk. A file that may not be written (read-only file or volume)
// is refused with error 70 and left as it was. A symbolic link is followed, so the
// link stays and its target is replaced. Permission bits of an existing file are kept;
// a new file gets `newFileMode`. Throws kcs::RunError; the old file is intact then.
void replaceFileDurably(const std::filesystem::path& path, std::string_view content,
                        unsigned newFileMode = 0644);

// Writes all of `data` to an open descriptor, retrying short and interrupted writes.
// Throws kcs::RunError naming `path`.
void writeAll(int fd, std::string_view data, const std::filesystem::path& path);

// Flushes a folder's entries (a created, renamed or removed file) to the disk. File
// systems that cannot flush a folder are accepted silently.
void syncFolder(const std::filesystem::path& folder);

}  // namespace kcs
