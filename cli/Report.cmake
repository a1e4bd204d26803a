# Fit-quality report and commissioning record: the pictures, the page and
# their commands, part of dnx8_cli.
target_sources(dnx8_cli PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MarkupText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PlotScale.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SvgWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PlotFrame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FitPlot.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CurvePlot.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RecordPage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FitReportOutput.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FitReportCommand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ConverterCurve.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CommissioningRecord.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReportCommands.cpp
)
