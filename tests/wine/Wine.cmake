# The Wine harness: a private prefix in the build tree, one persistent wineserver for the
# run and one Xvfb (CTest fixture "wine"), and Windows test binaries run through tests/wine/run.sh.

set(TARNWICK_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
# Both builds use a 64-bit (WoW64) prefix, as on 64-bit Windows; 32-bit programs run
# through the 32-bit loader (Debian's wine32) and the prefix's one 64-bit wineserver.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(TARNWICK_WINE_LOADER /usr/lib/wine/wine)
  set(TARNWICK_PE_ARCH i386)
else()
  set(TARNWICK_WINE_LOADER /usr/lib/wine/wine64)
  set(TARNWICK_PE_ARCH x86-64)
endif()
set(TARNWICK_WINE_ENV ${CMAKE_BINARY_DIR}/wine-env.sh)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-env.sh.in ${TARNWICK_WINE_ENV} @ONLY)

set(_wine_dir ${CMAKE_CURRENT_LIST_DIR})
add_test(NAME wine.prefix_up COMMAND ${_wine_dir}/prefix-up.sh ${TARNWICK_WINE_ENV})
set_tests_properties(wine.prefix_up PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
add_test(NAME wine.prefix_down COMMAND ${_wine_dir}/prefix-down.sh ${TARNWICK_WINE_ENV})
set_tests_properties(wine.prefix_down PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 120)

# One CTest test per Windows test binary: a Wine process costs seconds, a test case does not.
function(tarnwick_add_wine_test name target)
  add_test(NAME ${name} COMMAND ${_wine_dir}/run.sh ${TARNWICK_WINE_ENV} $<TARGET_FILE:${target}>)
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 600)
endfunction()
