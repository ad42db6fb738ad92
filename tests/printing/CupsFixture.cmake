# The private CUPS scheduler of the tests: ctest starts it before the first test that
# prints (fixture kcs_cups) and stops it after the last. Its folder is short, since a
# socket's path has room for 107 bytes, and tied to this build tree.
string(MD5 kcs_cups_hash "${CMAKE_BINARY_DIR}")
string(SUBSTRING "${kcs_cups_hash}" 0 10 kcs_cups_hash)
set(KCS_CUPS_FOLDER /tmp/kcs-cups-${kcs_cups_hash})
# What a test that prints needs: the scheduler, the queue to itself, and where to find both.
set(KCS_CUPS_ENVIRONMENT "CUPS_SERVER=${KCS_CUPS_FOLDER}/cups.sock;KCS_CUPS_JOBS=${KCS_CUPS_FOLDER}/jobs")
function(kcs_prints_for_real test)
  set_property(TEST ${test} APPEND PROPERTY FIXTURES_REQUIRED kcs_cups)
  set_property(TEST ${test} APPEND PROPERTY RESOURCE_LOCK kcs_cups)
  set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT ${KCS_CUPS_ENVIRONMENT})
endfunction()
