# The site: pages, JSON view and the read side's queries, added to the service's library.
target_sources(velora_server PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/compare_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cpu_vendor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/entries_api.cpp
  ${CMAKE_CURRENT_LIST_DIR}/entry_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/html_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/index_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_params.cpp
  ${CMAKE_CURRENT_LIST_DIR}/page_frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/page_words.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ranking_reads.cpp
  ${CMAKE_CURRENT_LIST_DIR}/site_pages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/style_sheet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/svg_chart.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_names.cpp
)
