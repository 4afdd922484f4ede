# Soak test: the real program under a minute of random input. Slow, so it carries only the label
# `soak`: `ctest -LE soak` leaves it out, `ctest -L soak` or scripts/soak.sh runs it alone.
# It checks for OpenGL errors only when built with CMAKE_BUILD_TYPE=Debug, like the program does.
if(TARGET astrolume_e2e_support)
  set(ASTROLUME_SOAK_TIMEOUT 180 CACHE STRING "Seconds ctest allows the soak test; 90 more than its soak")
  add_executable(e2e_soak_tests ${CMAKE_CURRENT_LIST_DIR}/e2e_soak_tests.cpp)
  target_link_libraries(e2e_soak_tests PRIVATE astrolume_e2e_support astrolume_body_image_names GTest::gtest
                                               GTest::gtest_main)
  # The test makes its own Xvfb, so it needs no display from outside.
  add_test(NAME e2e_soak COMMAND e2e_soak_tests)
  # The test learns the limit too, so a soak too long for it fails at once with advice.
  set_tests_properties(e2e_soak PROPERTIES LABELS soak TIMEOUT ${ASTROLUME_SOAK_TIMEOUT}
                       ENVIRONMENT "ASTROLUME_SOAK_TIMEOUT=${ASTROLUME_SOAK_TIMEOUT}")
endif()
