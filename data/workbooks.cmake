# Generates the shipped workbooks into the application folder from the sources under data/.
# Included by the root CMakeLists after the xlsxgen target is defined.
# tovakin_add_workbook(<output> SHEETS <name>=<source> ...)
# Adds a build rule that writes <output> with one sheet per pair, in the given order; it runs
# again when a source file or the tool changes. Appends <output> to TOVAKIN_WORKBOOK_FILES.
function(tovakin_add_workbook output)
  cmake_parse_arguments(PARSE_ARGV 1 WB "" "" "SHEETS")
  set(_sources)
  foreach(_pair IN LISTS WB_SHEETS)
    string(FIND "${_pair}" "=" _eq)
    math(EXPR _from "${_eq} + 1")
    string(SUBSTRING "${_pair}" ${_from} -1 _file)
    list(APPEND _sources "${_file}")
  endforeach()
  get_filename_component(_name "${output}" NAME)
  add_custom_command(
    OUTPUT "${output}"
    COMMAND xlsxgen "${output}" ${WB_SHEETS}
    DEPENDS xlsxgen ${_sources}
    COMMENT "Generating ${_name}"
    VERBATIM)
  set(TOVAKIN_WORKBOOK_FILES ${TOVAKIN_WORKBOOK_FILES} "${output}" PARENT_SCOPE)
endfunction()

set(TOVAKIN_WORKBOOK_FILES)

# Pipe-material workbook; the sheet order is the order the database rebuild relies on.
set(_pipe_sheets)
foreach(_sheet 不とう性管 とう性管 管材データ モーメント係数 標準溝幅)
  list(APPEND _pipe_sheets "${_sheet}=${CMAKE_CURRENT_LIST_DIR}/pipe-material/${_sheet}.tsv")
endforeach()
tovakin_add_workbook(${TOVAKIN_APPDIR}/DATABASE/Tovakin.xlsx SHEETS ${_pipe_sheets})

# Report template: one description per sheet, data/report-template/NN-<sheet name>.sheet; the
# two-digit prefix is the sheet's entry in the sheet-name table and decides the order.
file(GLOB _template_files CONFIGURE_DEPENDS "${CMAKE_CURRENT_LIST_DIR}/report-template/*.sheet")
list(SORT _template_files)
set(_template_sheets)
foreach(_file IN LISTS _template_files)
  get_filename_component(_base "${_file}" NAME)
  if(NOT _base MATCHES "^[0-9][0-9]-(.+)\\.sheet$")
    message(FATAL_ERROR "report template: '${_base}' is not named NN-<sheet name>.sheet")
  endif()
  list(APPEND _template_sheets "${CMAKE_MATCH_1}=${_file}")
endforeach()
if(_template_sheets)
  tovakin_add_workbook(${TOVAKIN_APPDIR}/DATABASE/QXWork.xlsx SHEETS ${_template_sheets})
endif()

add_custom_target(tovakin_workbooks ALL DEPENDS ${TOVAKIN_WORKBOOK_FILES})
