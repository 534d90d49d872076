#pragma once
// DefaultTheme: the theme kept in the INI file's "mod" section, for hosts of main version 4 and later.
// It reads the file once, when made; each put writes through. Older hosts have no theme: 0 and false.
#include <cstdint>

#include "ui/theme.h"

namespace qlxw {

class DefaultTheme final : public ITheme {
 public:
  // Fails with "Main version not initialized!" while no main version is set. A failed INI read shows
  // a message box and leaves the values not read yet at 0 and false.
  DefaultTheme();

  std::int32_t MenuStyleId() const override { return menuStyleId_; }
  void MenuStyleId(std::int32_t styleId) override;
  bool TransparentBands() const override { return transparentBands_; }
  void TransparentBands(bool transparent) override;

 private:
  bool HasThemeSettings() const noexcept;

  std::int32_t mainVersion_ = 0;
  std::int32_t menuStyleId_ = 0;
  bool transparentBands_ = false;
};

}  // namespace qlxw
