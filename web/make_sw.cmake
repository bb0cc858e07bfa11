# Writes the service worker of the site: the list of the site's files and a
# cache name from their contents.
#   cmake -DSITE=dir -DTEMPLATE=sw.js.in -P make_sw.cmake
file(GLOB files RELATIVE "${SITE}" "${SITE}/*")
list(REMOVE_ITEM files "sw.js")
list(SORT files)
set(all "")
set(names "'./'")
foreach(f IN LISTS files)
    file(SHA256 "${SITE}/${f}" h)
    string(APPEND all "${f} ${h}\n")
    string(APPEND names ", '${f}'")
endforeach()
string(SHA256 SITE_HASH "${all}")
string(SUBSTRING "${SITE_HASH}" 0 16 SITE_HASH)
set(SITE_FILES "${names}")
configure_file("${TEMPLATE}" "${SITE}/sw.js" @ONLY)
