# Writes the site's service worker from its template: the list of every file in the site and
# a version taken from their contents, so that any change to any file makes a new worker
# (and the browser replaces the kept files), and an unchanged build leaves it as it was.
# Run by the web build after everything else is in the site, and by the offline test to
# make a "new build" of a copied site:
#   cmake -DSITE_DIR=... -DTEMPLATE=.../service_worker.js.in -P cmake/SiteVersion.cmake
cmake_minimum_required(VERSION 3.25)

set(worker_name service-worker.js)
get_filename_component(SITE_DIR "${SITE_DIR}" ABSOLUTE)
file(GLOB_RECURSE files RELATIVE ${SITE_DIR} LIST_DIRECTORIES false ${SITE_DIR}/*)
list(REMOVE_ITEM files ${worker_name})
list(SORT files)
if(NOT files)
  message(FATAL_ERROR "SiteVersion: no files in ${SITE_DIR}")
endif()

set(fingerprint "")
set(SITE_FILES "")
foreach(file ${files})
  file(SHA256 ${SITE_DIR}/${file} hash)
  string(APPEND fingerprint "${file} ${hash}\n")
  if(SITE_FILES)
    string(APPEND SITE_FILES ", ")
  endif()
  string(APPEND SITE_FILES "'${file}'")
endforeach()
string(SHA256 version "${fingerprint}")
string(SUBSTRING ${version} 0 16 SITE_VERSION)

# configure_file leaves the file alone when its contents would not change.
configure_file(${TEMPLATE} ${SITE_DIR}/${worker_name} @ONLY)
