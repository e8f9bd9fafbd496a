if(VSL_SANITIZE)
  set(_vsl_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${_vsl_san})
  add_link_options(-fsanitize=address,undefined)

  # The sanitizer runtime of GCC 12 and LLVM 14 intercepts __tls_get_addr
  # and, for a dynamic thread-local block whose address modulo the page size
  # happens to equal the size of an old glibc header, reads the two words in
  # front of it as the block's range. LeakSanitizer then scans a bogus range
  # and dies at exit ("Tracer caught signal 11"). Where blocks land depends on
  # the machine and on what ran, so any run may hit it. Without the
  # interceptor leaks are still found (tests/sanitizer checks that); every
  # place that sets sanitizer options (scripts/test.sh, scripts/fuzz.sh, the
  # tests below) adds this one.
  set(VSL_ASAN_TLS_OPTION "intercept_tls_get_addr=0")
endif()

# Test properties of every test program: the offscreen platform and, in a
# sanitizer tree, the option above appended to whatever ASAN_OPTIONS the run
# brings along.
set(VSL_TEST_ENV_PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
if(VSL_SANITIZE)
  list(APPEND VSL_TEST_ENV_PROPERTIES ENVIRONMENT_MODIFICATION "ASAN_OPTIONS=string_append::${VSL_ASAN_TLS_OPTION}")
endif()
