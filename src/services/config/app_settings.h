#pragma once
// IAppSettings: the contract of a typed settings store a host plugs into the library (values of six
// types and arrays of them, by category and key). This class is also its null implementation: reads
// give the zero value of their type whatever the default, writes do nothing, checks answer false.
// A host derives from it and overrides what its store offers.
#include <cstdint>
#include <string>
#include <vector>

namespace qlxw {

class IAppSettings {
 public:
  using Text = std::string;
  virtual ~IAppSettings() = default;

  virtual std::uint8_t GetByte(const Text& category, const Text& key, std::uint8_t defaultValue = 0);
  virtual std::int16_t GetInteger(const Text& category, const Text& key, std::int16_t defaultValue = 0);
  virtual std::int32_t GetLong(const Text& category, const Text& key, std::int32_t defaultValue = 0);
  virtual double GetDouble(const Text& category, const Text& key, double defaultValue = 0.0);
  virtual Text GetString(const Text& category, const Text& key, const Text& defaultValue = {});
  virtual bool GetBoolean(const Text& category, const Text& key, bool defaultValue = false);

  virtual std::vector<std::uint8_t> GetByteArray(const Text& category, const Text& key,
                                                 const std::vector<std::uint8_t>& defaultValues);
  virtual std::vector<std::int16_t> GetIntegerArray(const Text& category, const Text& key,
                                                    const std::vector<std::int16_t>& defaultValues);
  virtual std::vector<std::int32_t> GetLongArray(const Text& category, const Text& key,
                                                 const std::vector<std::int32_t>& defaultValues);
  virtual std::vector<double> GetDoubleArray(const Text& category, const Text& key,
                                             const std::vector<double>& defaultValues);
  virtual std::vector<Text> GetStringArray(const Text& category, const Text& key,
                                           const std::vector<Text>& defaultValues);
  virtual std::vector<bool> GetBooleanArray(const Text& category, const Text& key,
                                            const std::vector<bool>& defaultValues);

  virtual void SetByte(const Text& category, const Text& key, std::uint8_t value, bool saveToFile = true);
  virtual void SetInteger(const Text& category, const Text& key, std::int16_t value, bool saveToFile = true);
  virtual void SetLong(const Text& category, const Text& key, std::int32_t value, bool saveToFile = true);
  virtual void SetDouble(const Text& category, const Text& key, double value, bool saveToFile = true);
  virtual void SetString(const Text& category, const Text& key, const Text& value, bool saveToFile = true);
  virtual void SetBoolean(const Text& category, const Text& key, bool value, bool saveToFile = true);
  virtual void SetByteArray(const Text& category, const Text& key, const std::vector<std::uint8_t>& value,
                            bool saveToFile = true);
  virtual void SetIntegerArray(const Text& category, const Text& key, const std::vector<std::int16_t>& value,
                               bool saveToFile = true);
  virtual void SetLongArray(const Text& category, const Text& key, const std::vector<std::int32_t>& value,
                            bool saveToFile = true);
  virtual void SetDoubleArray(const Text& category, const Text& key, const std::vector<double>& value,
                              bool saveToFile = true);
  virtual void SetStringArray(const Text& category, const Text& key, const std::vector<Text>& value,
                              bool saveToFile = true);
  virtual void SetBooleanArray(const Text& category, const Text& key, const std::vector<bool>& value,
                               bool saveToFile = true);

  virtual bool CheckByte(const Text& category, const Text& key);
  virtual bool CheckInteger(const Text& category, const Text& key);
  virtual bool CheckLong(const Text& category, const Text& key);
  virtual bool CheckDouble(const Text& category, const Text& key);
  virtual bool CheckString(const Text& category, const Text& key);
  virtual bool CheckBoolean(const Text& category, const Text& key);
  virtual bool CheckByteArray(const Text& category, const Text& key);
  virtual bool CheckIntegerArray(const Text& category, const Text& key);
  virtual bool CheckLongArray(const Text& category, const Text& key);
  virtual bool CheckDoubleArray(const Text& category, const Text& key);
  virtual bool CheckStringArray(const Text& category, const Text& key);
  virtual bool CheckBooleanArray(const Text& category, const Text& key);
};

}  // namespace qlxw
