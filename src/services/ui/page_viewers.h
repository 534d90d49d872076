#pragma once
// PDF viewers that take the page to show on their command line: where there is no DDE to send the
// viewer its commands, such a viewer is started with the document at the page instead.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qlxw {

// The arguments that open the document at the page (counted from 1) for a viewer known by its program
// name (evince, okular, zathura, xpdf, qpdfview, mupdf ...); none for any other viewer.
std::optional<std::vector<std::string>> PageArguments(const std::string& viewer, const std::string& pdfPath,
                                                      std::int32_t page);

}  // namespace qlxw
