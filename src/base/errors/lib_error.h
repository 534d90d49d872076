#pragma once
// The library's one failure type and the numbers it carries.
//
// Every failure leaves the library as a LibError: a 32-bit error number, a description, a source and a
// help reference (file and context), which a COM host reads as Err.Number, Err.Description, Err.Source,
// Err.HelpFile and Err.HelpContext.
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace qlxw {

// Where a help file explains an error: the file and the topic in it (0 for none).
struct HelpReference {
  std::string file;
  std::int32_t context = 0;
};

class LibError : public std::exception {
 public:
  LibError(std::int32_t number, std::string description, std::string source, HelpReference help = {});

  std::int32_t Number() const noexcept { return number_; }
  const std::string& Description() const noexcept { return description_; }
  const std::string& Source() const noexcept { return source_; }
  const HelpReference& Help() const noexcept { return help_; }
  const char* what() const noexcept override { return description_.c_str(); }

 private:
  std::int32_t number_;
  std::string description_;
  std::string source_;
  HelpReference help_;
};

// The library's own numbers.
inline constexpr std::int32_t kLibErrInvalidArgument = static_cast<std::int32_t>(0x80040001u);
inline constexpr std::int32_t kLibErrRepeatedOrBadData = static_cast<std::int32_t>(0x80040002u);
inline constexpr std::int32_t kLibErrNotInitialized = static_cast<std::int32_t>(0x80040003u);

// The classic automation numbers that the library raises or passes through.
inline constexpr std::int32_t kErrInvalidProcedureCall = 5;
inline constexpr std::int32_t kErrOverflow = 6;
inline constexpr std::int32_t kErrSubscriptOutOfRange = 9;
inline constexpr std::int32_t kErrTypeMismatch = 13;
inline constexpr std::int32_t kErrBadFileName = 52;
inline constexpr std::int32_t kErrFileNotFound = 53;
inline constexpr std::int32_t kErrDeviceIo = 57;
inline constexpr std::int32_t kErrFileAlreadyExists = 58;
inline constexpr std::int32_t kErrDiskFull = 61;
inline constexpr std::int32_t kErrPermissionDenied = 70;
inline constexpr std::int32_t kErrPathFileAccess = 75;
inline constexpr std::int32_t kErrPathNotFound = 76;
inline constexpr std::int32_t kErrObjectNotSet = 91;
inline constexpr std::int32_t kErrObjectRequired = 424;
inline constexpr std::int32_t kErrNoSuchMember = 438;
inline constexpr std::int32_t kErrWrongArgumentCount = 450;
inline constexpr std::int32_t kErrDuplicateKey = 457;
inline constexpr std::int32_t kErrApplicationDefined = 1001;

inline constexpr std::string_view kComponentName = "QlxWCommon";

// Fails the calling operation with a library error. `sourceClass` names the object that raises it
// ("INIManager"), or is empty when no object is the source.
[[noreturn]] void RaiseLibError(std::int32_t number, std::string_view sourceClass, std::string description);

// Fails with a classic automation error; an empty description takes the standard text of the number.
[[noreturn]] void RaiseAutomationError(std::int32_t number, std::string description = {});

// The same error as an outside service raises it: no source, which the caller may fill in.
LibError AutomationErrorWithoutSource(std::int32_t number, std::string description = {});

// The standard text of a classic automation error number.
std::string_view StandardErrorText(std::int32_t number) noexcept;

// The HRESULT a COM caller receives: small automation numbers n become 0x800A0000 | n,
// full HRESULTs (and the library's own numbers) stay as they are.
std::uint32_t HResultOf(std::int32_t number) noexcept;

}  // namespace qlxw
