# The fit report's and the commissioning record's parts, and both commands
# run as programs with their output read by Python's own XML and HTML parsers.
dnx8_add_test(cli_report_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/PlotTest.cpp ${CMAKE_CURRENT_LIST_DIR}/RecordTest.cpp
  LIBS dnx8_cli)

if(TARGET dnx8sim AND TARGET dnx8 AND NOT CMAKE_CROSSCOMPILING)
  find_package(Python3 COMPONENTS Interpreter REQUIRED)
  add_test(NAME cli_report_program_test
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/report_program_test.py
                   $<TARGET_FILE:dnx8> $<TARGET_FILE:dnx8sim>)
  set_tests_properties(cli_report_program_test PROPERTIES TIMEOUT 120 LABELS native)
endif()
