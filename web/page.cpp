#include "web/page.h"

#include "app/trivyrhnik.h"
#include "ui/kept_text.h"
#include "ui/memory/memory_controls.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <stdexcept>
#include <vector>

namespace web {

namespace {

using ui::ControlDesign;
using ui::ControlKind;
using ui::twipsToPixels;

std::string px(int twips) { return std::to_string(twipsToPixels(twips)) + "px"; }

std::string css(ui::Rgb c)
{
    return "rgb(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ")";
}

std::string idOf(const ControlDesign& c)
{
    return c.kind == ControlKind::Picture ? c.name + "_frame" : c.name + "_" + std::to_string(c.index);
}

// The report box's line height: what Chromium makes of the font's own at 12
// points, as the list rows have; "normal" gives another count of lines in
// another engine.
constexpr int kTextLineHeight = 18;

// The fixed style of the window: each control at its place, the design's
// font (Liberation Serif, metric-compatible with the design's Times New
// Roman) at 12 points, light colours whatever the browser's theme.
std::string styleSheet(const ui::FormDesign& d, const std::string& fontUrl)
{
    const std::string width = px(d.clientWidth), height = px(d.clientHeight);
    std::string s;
    s += "@font-face{font-family:\"Liberation Serif\";src:url(" + fontUrl + ") format(\"woff2\");font-display:block}\n";
    s += "html{color-scheme:light;-webkit-text-size-adjust:100%;text-size-adjust:100%}\n";
    s += "body{margin:0;background:#fff;touch-action:manipulation}\n";
    s += "#fit{position:relative;margin:0 auto;overflow:hidden;width:" + width + ";height:" + height + "}\n";
    s += "#Trivyrhnik{position:absolute;left:0;top:0;width:" + width + ";height:" + height
        + ";transform-origin:0 0;background:" + css(d.backColor)
        + ";color:#000;font:" + std::to_string(d.font.pointSize) + "pt \"Liberation Serif\",serif}\n";
    s += "#Trivyrhnik>*{position:absolute;box-sizing:border-box;margin:0}\n";
    s += "#Trivyrhnik [hidden]{display:none}\n";
    s += ".label{display:flex;align-items:center;justify-content:center;white-space:nowrap;overflow:hidden;"
         "user-select:none;-webkit-user-select:none}\n";
    s += ".frame{border:" + std::to_string(ui::kPictureBorder)
        + "px solid;border-color:#7b7b7b #fff #fff #7b7b7b;background:#fff}\n";
    s += ".frame:focus-within{border-color:rgb(48,140,198)}\n";
    s += "#Picture1{display:block;outline:none;image-rendering:pixelated;touch-action:manipulation;"
         "user-select:none;-webkit-user-select:none;-webkit-tap-highlight-color:transparent}\n";
    // The busy cursor until the program has started (or could not).
    s += "html:not([data-ready]):not([data-failed]) #Picture1{cursor:progress}\n";
    s += ".list{background:#fff;border:1px solid #7b7b7b;overflow-y:auto;overflow-x:hidden;cursor:default;"
         "user-select:none;-webkit-user-select:none}\n";
    s += ".list:focus{outline:none;border-color:rgb(48,140,198)}\n";
    s += ".list>div{height:18px;line-height:18px;padding:0 2px;white-space:nowrap}\n";
    s += ".list>[aria-selected=true]{background:rgb(48,140,198);color:#fff}\n";
    s += "button{font:inherit;color:#000;border:1px solid rgb(64,64,64);padding:0;border-radius:0}\n";
    s += "button:active:enabled{border:2px inset rgb(64,64,64)}\n";
    s += "button:disabled{color:rgb(96,96,96)}\n";
    s += "button:focus{outline:none}\nbutton:focus-visible{border:2px solid #000}\n";
    s += "textarea{font:inherit;line-height:" + std::to_string(kTextLineHeight)
        + "px;color:#000;background:#fff;border:1px solid #7b7b7b;padding:1px 3px;resize:none;"
          "overflow-y:scroll;overflow-x:hidden;white-space:pre-wrap}\n";
    s += "textarea:focus{outline:none;border-color:rgb(48,140,198)}\n";
    for (const auto& c : d.controls) {
        s += "#" + idOf(c) + "{left:" + px(c.left) + ";top:" + px(c.top) + ";width:" + px(c.width)
            + ";height:" + px(c.height);
        if (c.backColor)
            s += ";background:" + css(*c.backColor);
        s += "}\n";
    }
    const ui::PixelSize area = ui::drawingArea(*d.find("Picture1", 0));
    s += "#Picture1{width:" + std::to_string(area.width) + "px;height:" + std::to_string(area.height) + "px}\n";
    return s;
}

std::string describedBy(const ControlDesign& c, std::string& descriptions)
{
    if (c.accessibleDescription.empty())
        return {};
    const std::string id = c.name + "_" + std::to_string(c.index) + "_description";
    descriptions += "<p id=\"" + id + "\" hidden>" + escapeHtml(c.accessibleDescription) + "</p>\n";
    return " aria-describedby=\"" + id + "\"";
}

// The element of one control; `first` for the first control of the tab order
// that takes the focus, which the page focuses by itself.
std::string element(const ui::FormDesign& d, const ControlDesign& c, std::string& descriptions, bool first,
                    bool disabled)
{
    const std::string id = c.name + "_" + std::to_string(c.index);
    const std::string hidden = c.visible ? "" : " hidden";
    const std::string autofocus = first ? " autofocus" : "";
    const std::string name = escapeHtml(c.accessibleName);
    switch (c.kind) {
    case ControlKind::Picture: {
        const ui::PixelSize area = ui::drawingArea(c);
        const std::string size = std::to_string(area.width) + "\" data-height=\"" + std::to_string(area.height);
        return "<div id=\"" + idOf(c) + "\" class=\"frame\"" + hidden + "><canvas id=\"" + c.name + "\" data-width=\""
            + size + "\" width=\"" + std::to_string(area.width) + "\" height=\"" + std::to_string(area.height)
            + "\" tabindex=\"0\" role=\"img\" aria-label=\"" + name + "\"" + describedBy(c, descriptions) + autofocus
            + "></canvas></div>\n";
    }
    case ControlKind::List:
        return "<div id=\"" + id + "\" class=\"list\" role=\"listbox\" tabindex=\"0\" aria-label=\"" + name + "\""
            + describedBy(c, descriptions) + hidden + autofocus + "></div>\n";
    case ControlKind::Text: {
        // The box holds its design text before the module has run (a hidden
        // one too, which the program then need not send); the program then
        // keeps it.
        const std::string text = escapeHtml(c.text);
        return "<textarea id=\"" + id + "\" readonly spellcheck=\"false\" aria-label=\"" + name + "\""
            + describedBy(c, descriptions) + hidden + autofocus + ">" + (text.starts_with('\n') ? "\n" : "") + text
            + "</textarea>\n";
    }
    case ControlKind::Button: {
        // Named by its caption, or by its own name where that differs.
        const std::string label = c.accessibleName == c.text ? "" : " aria-label=\"" + name + "\"";
        return "<button id=\"" + id + "\" type=\"button\"" + label + describedBy(c, descriptions) + hidden + autofocus
            + (disabled ? " disabled" : "") + ">" + escapeHtml(c.text) + "</button>\n";
    }
    case ControlKind::Label:
        // Shown and read by its caption.
        return "<div id=\"" + id + "\" class=\"label\"" + hidden + ">" + escapeHtml(c.text) + "</div>\n";
    }
    (void)d;
    return {};
}

// The start script's element (web/start.js reads its data attributes): the
// window's size for the fit to a narrow page, the words for a start that
// failed and, on the site, the files that it loads and keeps.
std::string startScript(const ui::FormDesign& d, PageKind kind, const std::string& inlineScript)
{
    std::string a = " data-width=\"" + std::to_string(twipsToPixels(d.clientWidth)) + "\" data-height=\""
        + std::to_string(twipsToPixels(d.clientHeight)) + "\"";
    if (kind != PageKind::Floor)
        a += " data-failed=\"" + escapeHtml(ui::kStartFailure) + "\"";
    if (kind == PageKind::Site)
        a += " data-wasm=\"" + std::string(kWasmFile) + "\" data-module=\"" + std::string(kScriptFile)
            + "\" data-worker=\"" + std::string(kWorkerFile) + "\"";
    if (kind == PageKind::Single)
        return "<script" + a + ">\n" + inlineScript + "\n</script>\n";
    return "<script src=\"" + std::string(kStartFile) + "\"" + a + "></script>\n";
}

void checkInline(const std::string& script, const char* what)
{
    if (script.find("</script") != std::string::npos)
        throw std::invalid_argument(std::string(what) + " cannot be put inside the page");
}

} // namespace

std::string escapeHtml(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        switch (ch) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += ch; break;
        }
    }
    return out;
}

std::string base64(std::string_view bytes)
{
    static constexpr std::string_view kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t n = std::min<size_t>(3, bytes.size() - i);
        std::uint32_t v = 0;
        for (size_t k = 0; k < 3; ++k)
            v = (v << 8U) | (k < n ? static_cast<std::uint8_t>(bytes[i + k]) : 0U);
        for (size_t k = 0; k < 4; ++k)
            out += k <= n ? kDigits[(v >> (18 - 6 * k)) & 0x3FU] : '=';
    }
    return out;
}

std::string pageHtml(const ui::FormDesign& d, const PageParts& parts)
{
    if (!d.find("Picture1", 0))
        throw std::invalid_argument("the design has no drawing surface");
    const std::string fontUrl
        = parts.kind == PageKind::Single ? "data:font/woff2;base64," + base64(parts.font) : std::string(kFontFile);

    // The controls in the design's tab order, so that the document's order
    // is the keyboard's.
    const std::vector<const ControlDesign*> order = ui::tabOrder(d);
    // The buttons as the window's load handler leaves them ("Изчисли" off
    // until three points) and the focus where the window starts it, so that
    // the page shows them so before its module has run.
    ui::memory::MemoryForm loaded(d);
    app::Trivyrhnik window(loaded, {});
    window.Form_Load();
    std::string controls, descriptions;
    for (const auto* c : order) {
        const bool first = loaded.focused() == ui::ControlRef{c->kind, c->index};
        const bool disabled = c->kind == ControlKind::Button && !loaded.Command1(c->index).isEnabled();
        controls += element(d, *c, descriptions, first, disabled);
    }

    std::string h;
    h += "<!DOCTYPE html>\n<html lang=\"bg\">\n<head>\n<meta charset=\"utf-8\">\n";
    h += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
    h += "<title>" + escapeHtml(d.caption) + "</title>\n";
    if (parts.kind != PageKind::Single) {
        h += "<link rel=\"icon\" href=\"icon.svg\" type=\"image/svg+xml\">\n";
        h += "<link rel=\"preload\" href=\"" + std::string(kFontFile)
            + "\" as=\"font\" type=\"font/woff2\" crossorigin>\n";
    }
    if (parts.kind == PageKind::Site) {
        // The wasm is fetched at once and compiled while the document is
        // parsed (web/start.js); the module's script, at the end of the body,
        // takes the compiled module.
        h += "<link rel=\"preload\" href=\"" + std::string(kWasmFile)
            + "\" as=\"fetch\" type=\"application/wasm\" crossorigin>\n";
    }
    // The start script before the style sheet, which would hold it back.
    if (parts.kind == PageKind::Single)
        checkInline(parts.start, "the start script");
    h += startScript(d, parts.kind, parts.start);
    if (parts.kind == PageKind::Single)
        h += "<style>\n" + styleSheet(d, fontUrl) + "</style>\n";
    else
        h += "<link rel=\"stylesheet\" href=\"" + std::string(kStyleFile) + "\">\n";
    if (parts.kind == PageKind::Site) {
        h += "<link rel=\"manifest\" href=\"manifest.webmanifest\">\n";
        h += "<meta name=\"theme-color\" content=\"" + css(d.backColor) + "\">\n";
    }
    h += "</head>\n<body>\n";
    h += "<div id=\"fit\"><div id=\"Trivyrhnik\">\n" + controls + "</div></div>\n" + descriptions;
    switch (parts.kind) {
    case PageKind::Site:
        // The module's script after the window's elements: fetched from the
        // start, it runs as soon as they are parsed (web/page.js).
        h += "<script src=\"" + std::string(kScriptFile) + "\"></script>\n";
        break;
    case PageKind::Floor:
        // The floor is interactive once its document and font are ready.
        h += "<script src=\"" + std::string(kFloorFile) + "\"></script>\n";
        break;
    case PageKind::Single:
        checkInline(parts.script, "the module's script");
        h += "<script>\n" + parts.script + "\n</script>\n";
        break;
    }
    h += "</body>\n</html>\n";
    return h;
}

std::string pageStyle(const ui::FormDesign& d) { return styleSheet(d, std::string(kFontFile)); }

std::string pageCharacters(const ui::FormDesign& d, const std::string& moreText)
{
    std::string all = moreText;
    for (const auto& c : d.controls)
        if (c.visible)
            all += c.text;
    for (char ch = ' '; ch <= '~'; ++ch)
        all += ch;
    // Each UTF-8 sequence once, in order of first appearance.
    std::set<std::string> seen;
    std::string out;
    for (size_t i = 0; i < all.size();) {
        const auto lead = static_cast<unsigned char>(all[i]);
        size_t n = 1;
        if (lead >= 0xF0)
            n = 4;
        else if (lead >= 0xE0)
            n = 3;
        else if (lead >= 0xC0)
            n = 2;
        std::string ch = all.substr(i, n);
        i += n;
        if (static_cast<unsigned char>(ch[0]) < 0x20)
            continue;
        if (seen.insert(ch).second)
            out += ch;
    }
    return out;
}

} // namespace web
