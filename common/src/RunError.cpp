#include "kcs/common/RunError.h"

#include <cerrno>
#include <cstring>
#include <system_error>

namespace kcs {

int runErrorNumberForErrno(int e, const std::filesystem::path& path) {
    switch (e) {
    case ENOENT: {
        std::error_code ec;
        const auto parent = path.parent_path();
        if (!parent.empty() && !std::filesystem::is_directory(parent, ec)) return err::PathNotFound;
        return err::FileNotFound;
    }
    case ENOTDIR: return err::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return err::PermissionDenied;
    case EIO: return err::DeviceIO;
    case ENOMEDIUM:
    case ENXIO:
    case ENODEV: return err::DiskNotReady;
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ: return err::BadFileName;
    case EBUSY:
    case ETXTBSY:
    case EISDIR: return err::PathFileAccess;
    case ENOSPC:
    case EDQUOT: return err::DiskFull;
    default: return err::PathFileAccess;
    }
}

RunError fileError(int e, const std::filesystem::path& path, const std::string& operation) {
    return RunError(runErrorNumberForErrno(e, path),
                    operation + " " + path.string() + ": " + std::strerror(e));
}

}  // namespace kcs
