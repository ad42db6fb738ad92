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

// How a replacement reaches the disk.
enum class Durability {
    // On the disk when the call returns: records, settings, anything people keep.
    Flushed,
    // For a file the program writes afresh every time (the report): nothing waits for
    // the disk, and the old file is removed before the new one is renamed into place
    // (renaming over a file makes some file systems flush at once, which costs more than
    // the whole report). A crash may lose the file but never leaves part of one: a reader
    // finds the whole new file or none.
    Regenerated,
};

// Replaces the file's content by `content`: writes "<file>.new" beside it, flushes it to
// the disk, renames it over the file and flushes the folder. When this returns the new
// content is on the disk. A file that may not be written (read-only file or volume)
// is refused with error 70 and left as it was; so is anything that is not a plain file
// (error 75). A symbolic link is followed, so the link stays and its target is replaced.
// Permission bits of an existing file are kept; a new file gets `newFileMode`. Throws
// kcs::RunError; the old file is intact then.
void replaceFileDurably(const std::filesystem::path& path, std::string_view content,
                        unsigned newFileMode = 0644, Durability durability = Durability::Flushed);

// Writes all of `data` to an open descriptor, retrying short and interrupted writes.
// Throws kcs::RunError naming `path`.
void writeAll(int fd, std::string_view data, const std::filesystem::path& path);

// Flushes a folder's entries (a created, renamed or removed file) to the disk. File
// systems that cannot flush a folder are accepted silently.
void syncFolder(const std::filesystem::path& folder);

}  // namespace kcs
