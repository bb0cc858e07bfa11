#pragma once
// The page of the web edition, written from the window's design: every
// control an element whose id is its name (Picture1, List1_0, Command1_2...),
// placed in CSS pixels (twips / 15) with the design's colours, texts,
// accessible names and tab order, and the caption as the document's title.

#include "ui/form_layout.h"

#include <string>
#include <string_view>

namespace web {

enum class PageKind {
    // The site: the module's script and the font beside the page, a web app
    // manifest and a service worker.
    Site,
    // The same elements and styles with no WebAssembly: the benchmark's floor.
    Floor,
    // One file that works from disk: the script and the font inside it.
    Single,
};

struct PageParts {
    PageKind kind = PageKind::Site;
    // For Single: the whole module script, the font file's bytes and the
    // start script (web/start.js), which the site and the floor link.
    std::string script;
    std::string font;
    std::string start;
};

// The files beside the site's page: the font, the style sheet, the start
// script (web/start.js), the module's script and its wasm, the service
// worker. The floor links the style sheet and the start script too.
constexpr std::string_view kFontFile = "liberation-serif.woff2";
constexpr std::string_view kStyleFile = "trivyrhnik.css";
constexpr std::string_view kStartFile = "start.js";
constexpr std::string_view kScriptFile = "trivyrhnik.js";
constexpr std::string_view kWasmFile = "trivyrhnik.wasm";
constexpr std::string_view kWorkerFile = "sw.js";
// The floor's own script, which makes it interactive (web/floor.js).
constexpr std::string_view kFloorFile = "floor.js";

// The page. The site's and the floor's hold no script or style inline,
// so that a host's policy may forbid inline ones; the single file holds
// everything.
std::string pageHtml(const ui::FormDesign& design, const PageParts& parts);

// The style sheet of the window (kStyleFile), with the font beside it.
std::string pageStyle(const ui::FormDesign& design);

// Every character that the page can show in the window's font: the design's
// texts, printable ASCII and the characters of the given texts (the sources
// of the report's lines), in UTF-8, each once.
std::string pageCharacters(const ui::FormDesign& design, const std::string& moreText);

// Text for an HTML element's content or a quoted attribute.
std::string escapeHtml(std::string_view text);
std::string base64(std::string_view bytes);

} // namespace web
