#include "config/app_settings.h"

// The null implementation: nothing is stored, so nothing is found.
namespace qlxw {

std::uint8_t IAppSettings::GetByte(const Text& /*category*/, const Text& /*key*/,
                                   std::uint8_t /*defaultValue*/) {
  return 0;
}

std::int16_t IAppSettings::GetInteger(const Text& /*category*/, const Text& /*key*/,
                                      std::int16_t /*defaultValue*/) {
  return 0;
}

std::int32_t IAppSettings::GetLong(const Text& /*category*/, const Text& /*key*/,
                                   std::int32_t /*defaultValue*/) {
  return 0;
}

double IAppSettings::GetDouble(const Text& /*category*/, const Text& /*key*/, double /*defaultValue*/) {
  return 0;
}

IAppSettings::Text IAppSettings::GetString(const Text& /*category*/, const Text& /*key*/,
                                           const Text& /*defaultValue*/) {
  return {};
}

bool IAppSettings::GetBoolean(const Text& /*category*/, const Text& /*key*/, bool /*defaultValue*/) {
  return false;
}

std::vector<std::uint8_t> IAppSettings::GetByteArray(const Text& /*category*/, const Text& /*key*/,
                                                     const std::vector<std::uint8_t>& /*defaultValues*/) {
  return {};
}

std::vector<std::int16_t> IAppSettings::GetIntegerArray(const Text& /*category*/, const Text& /*key*/,
                                                        const std::vector<std::int16_t>& /*defaultValues*/) {
  return {};
}

std::vector<std::int32_t> IAppSettings::GetLongArray(const Text& /*category*/, const Text& /*key*/,
                                                     const std::vector<std::int32_t>& /*defaultValues*/) {
  return {};
}

std::vector<double> IAppSettings::GetDoubleArray(const Text& /*category*/, const Text& /*key*/,
                                                 const std::vector<double>& /*defaultValues*/) {
  return {};
}

std::vector<IAppSettings::Text> IAppSettings::GetStringArray(const Text& /*category*/, const Text& /*key*/,
                                                             const std::vector<Text>& /*defaultValues*/) {
  return {};
}

std::vector<bool> IAppSettings::GetBooleanArray(const Text& /*category*/, const Text& /*key*/,
                                                const std::vector<bool>& /*defaultValues*/) {
  return {};
}

void IAppSettings::SetByte(const Text& /*category*/, const Text& /*key*/, std::uint8_t /*value*/,
                           bool /*saveToFile*/) {}

void IAppSettings::SetInteger(const Text& /*category*/, const Text& /*key*/, std::int16_t /*value*/,
                              bool /*saveToFile*/) {}

void IAppSettings::SetLong(const Text& /*category*/, const Text& /*key*/, std::int32_t /*value*/,
                           bool /*saveToFile*/) {}

void IAppSettings::SetDouble(const Text& /*category*/, const Text& /*key*/, double /*value*/,
                             bool /*saveToFile*/) {}

void IAppSettings::SetString(const Text& /*category*/, const Text& /*key*/, const Text& /*value*/,
                             bool /*saveToFile*/) {}

void IAppSettings::SetBoolean(const Text& /*category*/, const Text& /*key*/, bool /*value*/,
                              bool /*saveToFile*/) {}

void IAppSettings::SetByteArray(const Text& /*category*/, const Text& /*key*/,
                                const std::vector<std::uint8_t>& /*value*/, bool /*saveToFile*/) {}

void IAppSettings::SetIntegerArray(const Text& /*category*/, const Text& /*key*/,
                                   const std::vector<std::int16_t>& /*value*/, bool /*saveToFile*/) {}

void IAppSettings::SetLongArray(const Text& /*category*/, const Text& /*key*/,
                                const std::vector<std::int32_t>& /*value*/, bool /*saveToFile*/) {}

void IAppSettings::SetDoubleArray(const Text& /*category*/, const Text& /*key*/,
                                  const std::vector<double>& /*value*/, bool /*saveToFile*/) {}

void IAppSettings::SetStringArray(const Text& /*category*/, const Text& /*key*/,
                                  const std::vector<Text>& /*value*/, bool /*saveToFile*/) {}

void IAppSettings::SetBooleanArray(const Text& /*category*/, const Text& /*key*/,
                                   const std::vector<bool>& /*value*/, bool /*saveToFile*/) {}

bool IAppSettings::CheckByte(const Text& /*category*/, const Text& /*key*/) {
  return false;
}

bool IAppSettings::CheckInteger(const Text& /*category*/, const Text& /*key*/) {
  return false;
}

bool IAppSettings::CheckLong(const Text& /*category*/, const Text& /*key*/) {
  return false;
}

bool IAppSettings::CheckDouble(const Text& /*category*/, const Text& /*key*/) {
  return false;
}

bool IAppSettings::CheckString(const Text& /*category*/, const Text& /*key*/) {
  return false;
}

bool IAppSettings::CheckBoolean(const Text& /*category*/, const Text& /*key*/) {
  return false;
}

bool IAppSettings::CheckByteArray(const Text& /*category*/, const Text& /*key*/) {
  return false;
}

bool IAppSettings::CheckIntegerArray(const Text& /*category*/, const Text& /*key*/) {
  return false;
}

bool IAppSettings::CheckLongArray(const Text& /*category*/, const Text& /*key*/) {
  return false;
}

bool IAppSettings::CheckDoubleArray(const Text& /*category*/, const Text& /*key*/) {
  return false;
}

bool IAppSettings::CheckStringArray(const Text& /*category*/, const Text& /*key*/) {
  return false;
}

bool IAppSettings::CheckBooleanArray(const Text& /*category*/, const Text& /*key*/) {
  return false;
}

}  // namespace qlxw
