#pragma once
// What fuzz targets assert beyond "no crash": a property that fails aborts the run with
// the property's text, under the fuzzer and under the corpus runner alike.
#include <cstdio>
#include <cstdlib>

#define FUZZ_EXPECT(condition)                                                      \
  do {                                                                              \
    if (!(condition)) {                                                             \
      std::fprintf(stderr, "%s:%d: expected %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                 \
    }                                                                               \
  } while (false)
