# Adds every subfolder of the current folder that has a CMakeLists.txt, in name order,
# so a new tool, test suite or benchmark is picked up without touching its parent.
function(kcs_add_parts)
  file(GLOB parts LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT parts)
  foreach(part IN LISTS parts)
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${part} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${part}/CMakeLists.txt)
      add_subdirectory(${part})
    endif()
  endforeach()
endfunction()
