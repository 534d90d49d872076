#include "com/runtime/boundary.h"

#include <oleauto.h>

#include <exception>
#include <new>
#include <string>

#include "errors/lib_error.h"
#include "os/windows/wide_text.h"

namespace qlxw::com {
namespace {

void SetError(const GUID& iid, const std::string& source, const std::string& description,
              const HelpReference& help = {}) noexcept {
  ICreateErrorInfo* create = nullptr;
  if (FAILED(CreateErrorInfo(&create))) {
    return;
  }
  // The setters take non-const pointers but only read.
  std::wstring wideSource = platform::WideFromUtf8(source);
  std::wstring wideDescription = platform::WideFromUtf8(description);
  std::wstring wideHelpFile = platform::WideFromUtf8(help.file);
  create->SetGUID(iid);
  create->SetSource(wideSource.data());
  create->SetDescription(wideDescription.data());
  create->SetHelpFile(wideHelpFile.data());
  create->SetHelpContext(static_cast<DWORD>(help.context));
  IErrorInfo* info = nullptr;
  if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
    SetErrorInfo(0, info);
    info->Release();
  }
  create->Release();
}

}  // namespace

HRESULT ReportException(std::string_view className, const GUID& iid) noexcept {
  try {
    std::string source(kComponentName);
    source.append(".").append(className);
    try {
      throw;
    } catch (const LibError& error) {
      SetError(iid, error.Source().empty() ? source : error.Source(), error.Description(), error.Help());
      return static_cast<HRESULT>(HResultOf(error.Number()));
    } catch (const ComFailure& failure) {
      // An outside component's failure keeps the error info it set.
      return failure.Result();
    } catch (const std::bad_alloc&) {
      SetError(iid, source, "Out of memory");
      return E_OUTOFMEMORY;
    } catch (const std::exception& error) {
      SetError(iid, source, error.what());
      return E_FAIL;
    }
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace qlxw::com
