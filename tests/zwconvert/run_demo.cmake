# Runs zwconvert on the demo calculation with a copy of the demo rules under another name and
# compares its standard output byte for byte with the expected order lines.
# -DZWCONVERT=... -DEMULATOR=... (empty natively) -DDATA_DIR=... -DDEMO_TEXT=... -DWORK_DIR=...
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/Vorlagen)
# The first run on an empty folder writes the default files and finds no template.
execute_process(
  COMMAND ${EMULATOR} ${ZWCONVERT} --templates ${WORK_DIR}/Vorlagen --tax 8
          ${DEMO_TEXT}
  OUTPUT_VARIABLE first_output RESULT_VARIABLE first_status)
if(NOT first_status EQUAL 1 OR NOT first_output STREQUAL "")
  message(FATAL_ERROR "empty folder: expected status 1 and no output, got ${first_status}")
endif()
foreach(name beschreibung.txt demo.txt leer.txt)
  if(NOT EXISTS ${WORK_DIR}/Vorlagen/${name})
    message(FATAL_ERROR "${name} was not written into the empty folder")
  endif()
endforeach()

file(COPY_FILE ${WORK_DIR}/Vorlagen/demo.txt ${WORK_DIR}/Vorlagen/glas.txt)
execute_process(
  COMMAND ${EMULATOR} ${ZWCONVERT} --templates ${WORK_DIR}/Vorlagen --tax 8
          ${DEMO_TEXT}
  OUTPUT_FILE ${WORK_DIR}/lines.txt RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "zwconvert exited with ${status}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK_DIR}/lines.txt
                        ${DATA_DIR}/demo_expected_lines.txt RESULT_VARIABLE different)
if(different)
  file(READ ${WORK_DIR}/lines.txt actual)
  message(FATAL_ERROR "order lines differ from the expected ones:\n${actual}")
endif()
