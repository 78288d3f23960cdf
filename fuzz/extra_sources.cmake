# Sources a fuzz target needs beyond the engine library, by target name
# (shared by fuzz/CMakeLists.txt and the replay tests in tests/). Expects
# SEXTANT_ROOT to be the repository root.
set(fuzz_form_reader_EXTRA ${SEXTANT_ROOT}/app/form_reader.cpp)
