#pragma once
// `torami --explore --explore-map FILE`: the map of an explored story as one HTML page that
// needs nothing else. Its style, its script and its picture (SVG) are inside it, so it
// opens anywhere, offline; all its text is UTF-8, escaped for HTML.
#include <filesystem>
#include <string>
#include <string_view>

#include "author/explorer.h"

namespace author {

// `title`: the script's file name, as the report names it.
std::string exploreMapPage(const ExploreReport& report, const std::string& title);

// Writes the page; a file that cannot be written is a FatalError (status 2).
void writeExploreMap(const ExploreReport& report, const std::filesystem::path& file,
                     const std::string& title);

// The text with & < > " ' as character references.
std::string htmlEscape(std::string_view text);

}  // namespace author
