#pragma once
// The theme hosts apply to their menus and toolbars: a menu style number and whether floating bands
// fade. ITheme itself is the do-nothing theme (0, false, puts ignored); others derive from it.
#include <cstdint>

#include "language/language_subscription.h"
#include "language/localized_strings.h"

namespace qlxw {

class ITheme {
 public:
  // Like every language-following class: the runtime's language becomes the library's.
  ITheme() {
    EnsureStringTables();
    language_.AdoptRuntimeLanguage();
  }
  virtual ~ITheme() = default;
  ITheme(const ITheme&) = delete;
  ITheme& operator=(const ITheme&) = delete;

  virtual std::int32_t MenuStyleId() const { return 0; }
  virtual void MenuStyleId(std::int32_t /*styleId*/) {}
  virtual bool TransparentBands() const { return false; }
  virtual void TransparentBands(bool /*transparent*/) {}

 protected:
  // A theme of its own follows later language changes but takes no language when made.
  struct FollowingLaterChanges {};
  explicit ITheme(FollowingLaterChanges /*only*/) {}

 private:
  LanguageSubscription language_;
};

}  // namespace qlxw
