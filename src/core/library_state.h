#pragma once
// The library-wide state: one copy per thread that uses the library, created on first use and torn
// down when the thread ends (or when a test starts afresh).
#include <cstdint>
#include <memory>
#include <string>

#include "diag/trace_settings.h"
#include "ui/language_state.h"

namespace qlxw {

class clsCommon;
class Constructors;
class INIManagerInterface;
class INIManager5;
class IAppSettings;
class FormSentinel;
class ILibAnchors;
class FileSystemObject;

struct LibraryState {
  LibraryState() = default;
  ~LibraryState();
  LibraryState(const LibraryState&) = delete;
  LibraryState& operator=(const LibraryState&) = delete;

  // Ends the shared objects while everything they may still use (file name, language, trace
  // settings) is whole: the INI managers write their defaults back here.
  void ReleaseSharedObjects() noexcept;

  LanguageState language;
  TraceSettings trace;
  std::int32_t mainVersion = 0;
  std::string appTitle;
  std::string appComment;
  std::string iniFileName;
  bool iniFileNameSet = false;
  std::shared_ptr<Constructors> constructors;
  std::shared_ptr<INIManagerInterface> sharedIni;
  std::shared_ptr<INIManager5> sharedIni5;
  bool iniManagersCreated = false;
  std::shared_ptr<IAppSettings> appSettings;
  std::shared_ptr<FormSentinel> formSentinel;
  std::shared_ptr<ILibAnchors> libAnchors;
  std::shared_ptr<FileSystemObject> fileSystemObject;
  std::shared_ptr<clsCommon> rootObject;
};

// This thread's state.
LibraryState& ThisThreadState();

// The shared object in a slot of the state, made on first use.
template <class T>
std::shared_ptr<T>& CreatedOnFirstUse(std::shared_ptr<T>& slot) {
  if (!slot) {
    slot = std::make_shared<T>();
  }
  return slot;
}

// Ends this thread's state, as unloading the library from the thread would (the INI managers write
// their defaults back), so that the next use starts from nothing. The trace switch goes off too.
void ResetLibraryState();

}  // namespace qlxw
