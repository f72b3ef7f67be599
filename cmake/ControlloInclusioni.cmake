# Checks that each folder of src/ includes only the folders below it.
#
#   cmake -DSORGENTI=<repository>/src -P ControlloInclusioni.cmake
#
# A line `#include "<folder>/..."` in src/<from>/ is allowed when <folder> is <from> itself or
# is listed for <from> below. Includes without a folder (same folder) and system headers are not
# looked at. Any other include fails with file, line and the rule. docs/architecture.md explains
# the layers; change the table and that page together.

cmake_minimum_required(VERSION 3.25)

if(NOT SORGENTI)
  message(FATAL_ERROR "ControlloInclusioni: pass -DSORGENTI=<repository>/src")
endif()

# What each folder may include, from the bottom up.
set(consentiti_platform  "")
set(consentiti_archive   "platform")
set(consentiti_backup    "platform;archive")
set(consentiti_modem     "platform;archive")
set(consentiti_printing  "platform;archive")
set(consentiti_customers "platform;archive;printing")
set(consentiti_desk      "platform;archive;printing;customers")
set(consentiti_browser   "platform;archive;printing;desk")
set(consentiti_campaigns "platform;archive;printing;modem;customers")
set(consentiti_settings  "platform;archive;backup;printing;modem")
set(consentiti_app       "platform;archive;backup;printing;modem;customers;desk;browser;campaigns;settings")
set(consentiti_radice    "app") # src/main.cpp

# Single files allowed one include beyond their folder's rule: "<file>|<folder>".
set(eccezioni "")

file(GLOB_RECURSE file_sorgenti RELATIVE "${SORGENTI}" "${SORGENTI}/*.h" "${SORGENTI}/*.cpp")
list(SORT file_sorgenti)
set(violazioni "")
foreach(relativo IN LISTS file_sorgenti)
  string(FIND "${relativo}" "/" barra)
  if(barra EQUAL -1)
    set(da "radice")
  else()
    string(SUBSTRING "${relativo}" 0 ${barra} da)
  endif()
  if(NOT DEFINED consentiti_${da})
    list(APPEND violazioni "src/${relativo}: the folder '${da}' has no rule; add it to the table")
    continue()
  endif()
  file(STRINGS "${SORGENTI}/${relativo}" righe)
  set(numero 0)
  foreach(riga IN LISTS righe)
    math(EXPR numero "${numero} + 1")
    if(NOT riga MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([A-Za-z0-9_-]+)/")
      continue()
    endif()
    set(verso "${CMAKE_MATCH_1}")
    set(coppia "${relativo}|${verso}")
    if(verso STREQUAL da OR verso IN_LIST consentiti_${da} OR coppia IN_LIST eccezioni)
      continue()
    endif()
    string(REPLACE ";" ", " elenco "${consentiti_${da}}")
    list(APPEND violazioni
      "src/${relativo}:${numero}: '${da}' may not include '${verso}/' (it may include: ${elenco})")
  endforeach()
endforeach()

if(violazioni)
  list(LENGTH violazioni quante)
  string(REPLACE ";" "\n  " testo "${violazioni}")
  message(FATAL_ERROR "Includes across layers the wrong way (${quante}):\n  ${testo}\n")
endif()
list(LENGTH file_sorgenti controllati)
message(STATUS "Includes between folders: ${controllati} files follow the layers")
