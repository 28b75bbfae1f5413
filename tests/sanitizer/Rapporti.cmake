# The reports of the run-time checks in CARTELLA: AZIONE=svuota empties the
# folder before the tests; AZIONE=controlla, after them, prints each report
# and fails if there is any.
if(AZIONE STREQUAL "svuota")
  file(REMOVE_RECURSE ${CARTELLA})
  file(MAKE_DIRECTORY ${CARTELLA})
  return()
endif()
file(GLOB rapporti ${CARTELLA}/*)
foreach(rapporto IN LISTS rapporti)
  file(READ ${rapporto} testo)
  message("${rapporto}:\n${testo}")
endforeach()
list(LENGTH rapporti quanti)
if(quanti GREATER 0)
  message(FATAL_ERROR "Rapporti dei controlli durante l'esecuzione: ${quanti} (vedere sopra)")
endif()
