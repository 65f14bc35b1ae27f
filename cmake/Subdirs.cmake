# Adds every immediate sub-folder of the current source folder that has its own CMakeLists.txt,
# so each area (tests/net, bench/imaging, tools/servicesim, ...) stays self-contained.
function(add_area_subdirectories)
  file(GLOB _entries LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT _entries)
  foreach(_entry IN LISTS _entries)
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${_entry} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${_entry}/CMakeLists.txt)
      add_subdirectory(${_entry})
    endif()
  endforeach()
endfunction()
