#pragma once
// Reading small files whole and replacing them so that a crash, a kill or a pulled
// drive at any moment leaves either the old content or the new, never a mixture.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "kcs/common/Fd.h"

namespace kcs {

// Opens a file for reading only when it is a regular file once symbolic links are
// followed. A folder, pipe, socket or device is refused without being opened, so a
// reader can never block on it or read it for ever: kcs::RunError 75 "PATH is not a
// regular file". Any other failure is the file error with the system's reason (53 not
// found, 70 permission denied, ...). Messages name `path` as the caller gave it.
Fd openRegularFile(const std::filesystem::path& path);

// The whole of a regular file (as openRegularFile), at most `limit` bytes.
std::string readRegularFile(const std::filesystem::path& path, std::size_t limit = std::size_t(-1));

// The same, or nullopt when the file does not exist.
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

// Replaces the file's content by `content`: writes a new file beside it ("<file>.new",
// or "<file>.newN" with a random N when that name is taken: nothing already there is ever truncated or
// followed), flushes it to the disk, renames it over the file and flushes the folder.
// When this returns the new content is on the disk. A file that may not be written
// (read-only volume, or a file without any write permission, whoever runs this) is
// refused with error 70 and left as it was; so is anything that is not a plain file
// (error 75), a folder above all. A symbolic link is followed, so the link stays and its
// target is replaced. Permission bits of an existing file are kept; a new file gets
// `newFileMode` (by default readable and writable by its owner only: many of the program's
// files hold client names). Throws kcs::RunError; the old file is intact then.
void replaceFileDurably(const std::filesystem::path& path, std::string_view content,
                        unsigned newFileMode = 0600, Durability durability = Durability::Flushed);

// Removes the staging copies that replacements of `path` left when they were interrupted
// (a killed program, a drive pulled mid-save): `NAME.new` and `NAME.newDIGITS` beside it,
// plain files only. Each is a whole earlier copy of the file, so for the client file it
// holds client names. Best effort: returns how many such copies are still there.
int removeStagingLeftovers(const std::filesystem::path& path);

// Writes all of `data` to an open descriptor, retrying short and interrupted writes.
// Throws kcs::RunError naming `path`.
void writeAll(int fd, std::string_view data, const std::filesystem::path& path);

// Flushes a folder's entries (a created, renamed or removed file) to the disk. File
// systems that cannot flush a folder are accepted silently.
void syncFolder(const std::filesystem::path& folder);

}  // namespace kcs
