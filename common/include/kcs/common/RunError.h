#pragma once
// A failure carried with the classic run-time error number and a description, so the
// handlers that sort failures into "not found", "write protected" and "anything else"
// work from the number alone, whatever layer the failure came from.

#include <filesystem>
#include <stdexcept>
#include <string>

namespace kcs {

namespace err {
inline constexpr int InvalidArgument = 5;
inline constexpr int Overflow = 6;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int TypeMismatch = 13;
inline constexpr int BadFileName = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int DeviceIO = 57;
inline constexpr int InternalError = 51;
inline constexpr int DiskFull = 61;
inline constexpr int InputPastEnd = 62;
inline constexpr int DeviceUnavailable = 68;
inline constexpr int PermissionDenied = 70;
inline constexpr int DiskNotReady = 71;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int PrinterError = 482;
inline constexpr int BankFileNotFound = 3024;
inline constexpr int BankPathInvalid = 3044;
inline constexpr int BankCannotOpen = 3051;
inline constexpr int BankNoCurrentRecord = 3021;
inline constexpr int BankTableNotFound = 3078;
inline constexpr int BankItemNotFound = 3265;
inline constexpr int BankUnrecognizedFormat = 3343;
}  // namespace err

class RunError : public std::runtime_error {
public:
    RunError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    int number() const noexcept { return number_; }
    std::string description() const { return what(); }

private:
    int number_;
};

// The run-time error number for an errno value met while working on `path`.
// ENOENT is "file not found" when the folder exists and "path not found" otherwise.
int runErrorNumberForErrno(int errnoValue, const std::filesystem::path& path);

// A RunError for a failed file operation: number from errno, description naming the
// operation, the file and the system's reason.
RunError fileError(int errnoValue, const std::filesystem::path& path, const std::string& operation);

}  // namespace kcs
