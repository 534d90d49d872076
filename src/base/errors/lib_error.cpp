#include "errors/lib_error.h"

#include <utility>

namespace qlxw {

LibError::LibError(std::int32_t number, std::string description, std::string source, HelpReference help)
    : number_(number),
      description_(std::move(description)),
      source_(std::move(source)),
      help_(std::move(help)) {}

void RaiseLibError(std::int32_t number, std::string_view sourceClass, std::string description) {
  std::string source(kComponentName);
  if (!sourceClass.empty()) {
    source.append(".").append(sourceClass);
  }
  throw LibError(number, std::move(description), std::move(source));
}

LibError AutomationErrorWithoutSource(std::int32_t number, std::string description) {
  if (description.empty()) {
    description = StandardErrorText(number);
  }
  return {number, std::move(description), {}};
}

void RaiseAutomationError(std::int32_t number, std::string description) {
  throw LibError(number, AutomationErrorWithoutSource(number, std::move(description)).Description(),
                 std::string(kComponentName));
}

std::string_view StandardErrorText(std::int32_t number) noexcept {
  switch (number) {
    case kErrInvalidProcedureCall:
      return "Invalid procedure call or argument";
    case kErrOverflow:
      return "Overflow";
    case kErrSubscriptOutOfRange:
      return "Subscript out of range";
    case kErrTypeMismatch:
      return "Type mismatch";
    case kErrBadFileName:
      return "Bad file name or number";
    case kErrFileNotFound:
      return "File not found";
    case kErrDeviceIo:
      return "Device I/O error";
    case kErrFileAlreadyExists:
      return "File already exists";
    case kErrDiskFull:
      return "Disk full";
    case kErrPermissionDenied:
      return "Permission denied";
    case kErrPathFileAccess:
      return "Path/File access error";
    case kErrPathNotFound:
      return "Path not found";
    case kErrObjectNotSet:
      return "Object variable or With block variable not set";
    case kErrObjectRequired:
      return "Object required";
    case kErrNoSuchMember:
      return "Object doesn't support this property or method";
    case kErrWrongArgumentCount:
      return "Wrong number of arguments or invalid property assignment";
    case kErrDuplicateKey:
      return "This key is already associated with an element of this collection";
    default:
      return "Application-defined or object-defined error";
  }
}

std::uint32_t HResultOf(std::int32_t number) noexcept {
  const auto bits = static_cast<std::uint32_t>(number);
  if (number > 0 && number <= 0xFFFF) {
    return 0x800A0000u | bits;
  }
  return bits;
}

}  // namespace qlxw
