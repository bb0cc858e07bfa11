# Writes the service worker of the site: every file of the site with its
# SHA-256, by which the worker checks each copy before it keeps it, and a
# cache name from their contents.
#   cmake -DSITE=dir -DTEMPLATE=sw.js.in -P make_sw.cmake
file(GLOB files RELATIVE "${SITE}" "${SITE}/*")
list(REMOVE_ITEM files "sw.js")
list(SORT files)
set(all "")
set(entries "")
foreach(f IN LISTS files)
    file(SHA256 "${SITE}/${f}" h)
    string(APPEND all "${f} ${h}\n")
    string(APPEND entries "\n  '${f}': '${h}',")
    # The site's address itself is its page.
    if(f STREQUAL "index.html")
        string(APPEND entries "\n  './': '${h}',")
    endif()
endforeach()
string(SHA256 SITE_HASH "${all}")
string(SUBSTRING "${SITE_HASH}" 0 16 SITE_HASH)
set(SITE_FILES "${entries}\n")
configure_file("${TEMPLATE}" "${SITE}/sw.js" @ONLY)
