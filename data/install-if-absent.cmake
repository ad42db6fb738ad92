# Puts the settings file and the practice data disk beside the program only when
# they are missing: both are changed by the program and by the supervisor, and a
# rebuild must never throw those changes away.
if(NOT EXISTS "${BIN_DIR}/kcstest.ini")
  file(COPY "${SOURCE_DIR}/kcstest.ini" DESTINATION "${BIN_DIR}")
endif()
if(NOT EXISTS "${BIN_DIR}/practice-disk")
  file(COPY "${SOURCE_DIR}/practice-disk" DESTINATION "${BIN_DIR}")
endif()
