# Fills the folder for a web server: the page as built, the start page, the
# manifest and the service worker, whose cache is named after the release and
# a hash of the folder's files (the icons are already there).
# usage: cmake -DPAGE=velnorka.html -DSOURCE=platform/web/site -DSITE=folder -DVERSION=x.y.z -P make-site.cmake
file(COPY_FILE ${PAGE} ${SITE}/velnorka.html)
foreach(file index.html velnorka.webmanifest)
  file(COPY_FILE ${SOURCE}/${file} ${SITE}/${file})
endforeach()

file(GLOB files RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM files sw.js)
list(SORT files)
set(hashes "")
foreach(file ${files})
  file(SHA256 ${SITE}/${file} hash)
  string(APPEND hashes "${hash} ${file}\n")
endforeach()
file(SHA256 ${SOURCE}/sw.js hash)
string(APPEND hashes "${hash} sw.js\n")
string(SHA256 hash "${hashes}")
string(SUBSTRING ${hash} 0 12 hash)
set(VELNORKA_SITE_VERSION ${VERSION}-${hash})
file(READ ${SOURCE}/sw.js worker)
string(CONFIGURE "${worker}" worker @ONLY)
file(WRITE ${SITE}/sw.js "${worker}")
