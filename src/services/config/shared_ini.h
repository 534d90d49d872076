#pragma once
// The thread's shared INI manager, chosen once by the main version at the first INI access:
// an INIManager5 above 4, an INIManager otherwise.
#include <memory>

#include "config/ini_manager5.h"
#include "config/ini_manager_interface.h"

namespace qlxw {

// Fails with "Main version not initialized!" while the main version is 0, on every call.
void EnsureINIManagers();

std::shared_ptr<INIManagerInterface> GetSharedINI();

// None when the manager chosen was an INIManager.
std::shared_ptr<INIManager5> GetSharedINI5();

// The shared manager as a service reaches it through the root object: the root object is made first
// when the host has made none (a root object's making is traced, and hosts see that). The objects floor,
// which holds the root object, gives the way to make it.
std::shared_ptr<INIManagerInterface> GetRootObjectINI();
void SetRootObjectMaker(void (*makeRootObject)()) noexcept;

}  // namespace qlxw
