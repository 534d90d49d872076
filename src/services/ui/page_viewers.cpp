#include "ui/page_viewers.h"

#include <array>
#include <string_view>

namespace qlxw {
namespace {

enum class PageForm {
  kOptionEquals,    // --page-index=N FILE
  kOptionThenPage,  // -p N FILE
  kFileThenPage,    // FILE N
  kFileHashPage,    // FILE#N
};

struct PageViewer {
  std::string_view program;
  PageForm form;
  std::string_view option;
};

constexpr std::array<PageViewer, 10> kPageViewers = {{
    {"evince", PageForm::kOptionEquals, "--page-index="},
    {"atril", PageForm::kOptionEquals, "--page-index="},
    {"xreader", PageForm::kOptionEquals, "--page-index="},
    {"okular", PageForm::kOptionThenPage, "-p"},
    {"zathura", PageForm::kOptionThenPage, "-P"},
    {"xpdf", PageForm::kFileThenPage, ""},
    {"mupdf", PageForm::kFileThenPage, ""},
    {"mupdf-gl", PageForm::kFileThenPage, ""},
    {"mupdf-x11", PageForm::kFileThenPage, ""},
    {"qpdfview", PageForm::kFileHashPage, ""},
}};

}  // namespace

std::optional<std::vector<std::string>> PageArguments(const std::string& viewer, const std::string& pdfPath,
                                                      std::int32_t page) {
  const std::size_t slash = viewer.find_last_of('/');
  const std::string_view name = std::string_view(viewer).substr(slash == std::string::npos ? 0 : slash + 1);
  const std::string number = std::to_string(page);
  for (const PageViewer& known : kPageViewers) {
    if (name != known.program) {
      continue;
    }
    switch (known.form) {
      case PageForm::kOptionEquals:
        return std::vector<std::string>{std::string(known.option).append(number), pdfPath};
      case PageForm::kOptionThenPage:
        return std::vector<std::string>{std::string(known.option), number, pdfPath};
      case PageForm::kFileThenPage:
        return std::vector<std::string>{pdfPath, number};
      case PageForm::kFileHashPage:
        return std::vector<std::string>{std::string(pdfPath).append("#").append(number)};
    }
  }
  return std::nullopt;
}

}  // namespace qlxw
